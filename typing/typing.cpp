#include "typing.h"

#include "gb_text.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <vector>

// The passages live in a resource of this static library; registering it from here keeps it
// linked into every program that uses the test.
static void initPassageResources() {
    Q_INIT_RESOURCE(passages);
}

namespace typing {

const QString TypingTest::kRight = QStringLiteral("—");
const QString TypingTest::kWrong = QStringLiteral("×");

namespace {

const QString kSpeedBefore = QStringLiteral("您的速度为每分钟：");
const QString kSpeedAfter = QStringLiteral("字");
const QString kClockReset = QStringLiteral("00:00");

std::array<QStringList, TypingTest::kTests> loadPassages() {
    initPassageResources();
    std::array<QStringList, TypingTest::kTests> passages;
    for (int t = 1; t <= TypingTest::kTests; ++t) {
        QFile file(QStringLiteral(":/passages/test%1.txt").arg(t));
        QStringList lines;
        if (file.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(file.readAll()).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        while (lines.size() < TypingTest::kBlocks)
            lines << QString();
        passages[static_cast<std::size_t>(t - 1)] = lines.mid(0, TypingTest::kBlocks);
    }
    return passages;
}

} // namespace

QStringList TypingTest::passage(int test) {
    static const std::array<QStringList, kTests> passages = loadPassages();
    if (test < 1 || test > kTests)
        return QStringList(kBlocks, QString());
    return passages[static_cast<std::size_t>(test - 1)];
}

QString TypingTest::fullMarkLine() {
    return kRight.repeated(kMarks);
}

QString TypingTest::clockText(int seconds) {
    return QString::asprintf("%d:%d", (seconds / 60) % 60, seconds % 60);
}

TypingTest::TypingTest(controls::Focus& focus, controls::Desktop& desktop)
    : m_focus(focus), m_desktop(desktop), RichEdit(2 * kBlocks, controls::named<RichLine>(QStringLiteral("RichEdit"))),
      Memo(kBlocks, controls::named<controls::TypedLine>(QStringLiteral("Memo")), 3),
      RadioButton(
          kTests,
          [this](int n) {
              static const char* const kCaptions[kTests] = {"测试一", "测试二", "测试三", "测试四", "测试五", "测试六"};
              return std::make_unique<controls::RadioButton>(QStringLiteral("RadioButton") + QString::number(n),
                                                             QString::fromUtf8(kCaptions[n - 11]), m_tests);
          },
          11) {
    Button4.setCaption(QStringLiteral("开始测试"));
    Button6.setCaption(QStringLiteral("停止测试"));
    Button5.setCaption(QStringLiteral("Button5"));
    Button4.setEnabled(false);
    Button6.setEnabled(false);
    // The finish step lies under the clock: the learner can neither see, reach nor click it.
    Button5.hide();
    Button5.setTabStop(false);
    Label29.hide();
    Label41.hide();
    Label42.hide();
    Label29.setCaption(QStringLiteral("0"));
    Panel9.setCaption(kClockReset);
    Panel9.setTabStop(false);

    for (int t = 1; t <= kTests; ++t)
        RadioButton[10 + t].onClick = [this, t] { RadioButtonClick(t); };
    Button4.onClick = [this] { Button4Click(); };
    Button5.onClick = [this] { Button5Click(); };
    Button6.onClick = [this] { Button6Click(); };
    for (int b = 1; b <= kBlocks; ++b) {
        typedLine(b).onChange = [this, b] { MemoChange(b); };
        typedLine(b).onLearnerEdit = [this, b](const QString& text, int caret) { edit(b, text, caret); };
        typedLine(b).onCommit = [this, b](const QString& text) { commit(b, text); };
    }
    Timer1.onTimer = [this] { Timer1Timer(); };
    Timer2.onTimer = [this] { Timer2Timer(); };
}

int TypingTest::chosenTest() const {
    for (int t = 1; t <= kTests; ++t)
        if (RadioButton[10 + t].isChecked())
            return t;
    return 0;
}

int TypingTest::maxLength(int block) const {
    return isBlock(block) ? m_maxLength[static_cast<std::size_t>(block)] : 0;
}

void TypingTest::RadioButtonClick(int test) {
    // Another passage: a run under way ends without a result, and the last result goes, since
    // neither belongs to it.
    setRunning(false);
    setReview(QString());
    clearResult();
    const QStringList lines = passage(test);
    for (int b = 1; b <= kBlocks; ++b)
        passageLine(b).setText(lines.at(b - 1));
    for (int b = 1; b <= kBlocks; ++b)
        m_maxLength[static_cast<std::size_t>(b)] = passageLine(b).length();
    Button4.setEnabled(true);
    Button6.setEnabled(true);
    Button6.click();
    m_focus.set(typedLine(1));
}

void TypingTest::Button4Click() {
    setReview(QString());
    clearResult();
    // Lines typed before Start took their marks with them.
    for (int b = 1; b <= kBlocks; ++b) {
        typedLine(b).clear();
        markLine(b).setText(fullMarkLine());
    }
    m_focus.set(typedLine(1));
    Label29.setCaption(QStringLiteral("0"));
    Timer1.tag = 0;
    setRunning(true);
    Button4.setEnabled(false);
}

void TypingTest::Button6Click() {
    // A run stopped by a click is offered for review as a finished one is, and its result kept.
    if (running()) {
        setReview(missedInRun());
        bool typed = false;
        for (int b = 1; b <= kBlocks; ++b)
            typed = typed || !typedLine(b).text().isEmpty();
        if (typed)
            keepResult(measure());
    }
    // A result on show stays, lines, marks and clock, until the next start.
    if (!m_result) {
        for (int b = 1; b <= kBlocks; ++b)
            typedLine(b).clear();
        for (int b = 1; b <= kBlocks; ++b)
            markLine(b).setText(fullMarkLine());
    }
    setRunning(false);
    Label29.setCaption(QStringLiteral("0"));
    if (!m_result)
        Panel9.setCaption(kClockReset);
    Timer1.tag = 0;
    Button4.setEnabled(true);
    // Ready: the first character typed lands in its place and starts the clock, whether or not
    // Start was clicked first (the input method is on only in a typed line).
    m_focus.set(typedLine(1));
}

void TypingTest::MemoChange(int block) {
    // With no passage there is nothing to judge and nothing to time; Stop is still disabled then,
    // so a clock started here could not be stopped.
    if (chosenTest() == 0 || !isBlock(block))
        return;
    // A run begun by typing rather than by Start leaves the last run's review behind as well.
    if (!running())
        setReview(QString());
    setRunning(true);
    showMarks(block);

    if (gb::byteLength(typedLine(block).text()) != gb::byteLength(passageLine(block).text()))
        return;
    if (block < kBlocks)
        m_focus.set(typedLine(block + 1));
    else
        Button5.click();
}

void TypingTest::showMarks(int block) {
    // The marks show the line as it stands, whatever the edit was (a deletion, an insertion in the
    // middle, a paste): every typed character is judged as a whole against the passage character
    // that begins at the same byte, and one that begins inside a passage character (after an odd
    // number of single-byte characters) matches nothing. A character's mark is the one whose
    // first byte lies under the character's first byte, so marks stay whole; a mark with no
    // wrong character over it, or none at all, is "—".
    const QString& typed = typedLine(block).text();
    const QString& model = passageLine(block).text();
    QString marks = fullMarkLine();
    int start = 0;      // byte at which the typed character begins
    int modelStart = 0; // byte at which the passage character modelIndex begins
    qsizetype modelIndex = 0;
    for (QChar c : typed) {
        while (modelIndex < model.size() && modelStart < start)
            modelStart += gb::isSingleByte(model.at(modelIndex++)) ? 1 : 2;
        const bool right = modelStart == start && modelIndex < model.size() && model.at(modelIndex) == c;
        if (!right && start / 2 < kMarks)
            marks[start / 2] = kWrong.at(0);
        start += gb::isSingleByte(c) ? 1 : 2;
    }
    if (markLine(block).text() != marks)
        markLine(block).setText(marks);
}

void TypingTest::Timer1Timer() {
    bool ok = false;
    const double seconds = Label29.caption().toDouble(&ok);
    Label29.setCaption(QString::number((ok ? seconds : 0.0) + 1.0, 'g', 15));
}

void TypingTest::Timer2Timer() {
    ++Timer1.tag;
    Panel9.setCaption(clockText(Timer1.tag));
}

void TypingTest::Button5Click() {
    setRunning(false);
    const Run run = measure();
    m_desktop.beep();
    m_desktop.message(finishMessage(run));
    setReview(missedInRun());
    keepResult(run);
    Button6.click();
}

TypingTest::Run TypingTest::measure() {
    Run run;
    run.test = chosenTest();
    run.seconds = Timer1.tag;
    qint64 bytes = 0;
    int characters = 0;
    for (int b = 1; b <= kBlocks; ++b) {
        const QString& typed = typedLine(b).text();
        bytes += gb::byteLength(typed);
        characters += static_cast<int>(typed.size());
        run.wrong += static_cast<int>(missed(passageLine(b).text(), typed).size());
    }
    bool ok = false;
    const double counted = Label29.caption().toDouble(&ok);
    // A line filled (by pasting, say) before the first tick has taken under a second: count it as
    // one rather than divide by zero.
    const qint64 seconds = ok && std::isfinite(counted) && counted >= 1.0 ? static_cast<qint64>(counted) : 1;
    run.speed = (bytes / 2) * 60 / seconds;
    // The share of the typed characters not missed. A character typed too many is not missed, one
    // left out between typed ones is, so the count can pass the characters typed: never below 0.
    run.accuracy = characters > 0 ? std::max(0, characters - run.wrong) * 100 / characters : 0;
    return run;
}

QString TypingTest::durationText(int seconds) {
    // In words: the clock's own "1:5" reads badly in a sentence.
    return seconds < 60 ? QStringLiteral("%1 秒").arg(seconds)
                        : QStringLiteral("%1 分 %2 秒").arg(seconds / 60).arg(seconds % 60);
}

QString TypingTest::resultText(const Run& run) {
    return QStringLiteral("用时 %1，每分钟 %2 字，正确率 %3%，错字 %4 个")
        .arg(durationText(run.seconds))
        .arg(run.speed)
        .arg(run.accuracy)
        .arg(run.wrong);
}

QString TypingTest::finishMessage(const Run& run) {
    return kSpeedBefore + QString::number(run.speed) + kSpeedAfter +
           QStringLiteral("，正确率：%1%，错字：%2个").arg(run.accuracy).arg(run.wrong);
}

void TypingTest::keepResult(const Run& run) {
    m_result = true;
    Label42.setCaption(resultText(run));
    Label42.show();
    m_runs.insert(m_runs.begin(), run);
}

void TypingTest::clearResult() {
    if (!m_result)
        return;
    m_result = false;
    Label42.hide();
    Label42.setCaption(QString());
    for (int b = 1; b <= kBlocks; ++b) {
        typedLine(b).clear();
        markLine(b).setText(fullMarkLine());
    }
    Label29.setCaption(QStringLiteral("0"));
    Timer1.tag = 0;
    Panel9.setCaption(kClockReset);
}

QString TypingTest::missed(const QString& passage, const QString& typed) {
    // cost[i][j]: the fewest edits that turn the first j passage characters into the first i typed.
    const qsizetype n = typed.size(), m = passage.size();
    std::vector<int> cost(static_cast<std::size_t>((n + 1) * (m + 1)));
    auto at = [&](qsizetype i, qsizetype j) -> int& { return cost[static_cast<std::size_t>(i * (m + 1) + j)]; };
    for (qsizetype i = 0; i <= n; ++i)
        for (qsizetype j = 0; j <= m; ++j) {
            if (i == 0 || j == 0) {
                at(i, j) = static_cast<int>(i + j);
                continue;
            }
            const int pair = at(i - 1, j - 1) + (typed.at(i - 1) == passage.at(j - 1) ? 0 : 1);
            at(i, j) = std::min({pair, at(i, j - 1) + 1, at(i - 1, j) + 1});
        }
    // Where the typed line ends in the passage: the cheapest, and of those the furthest.
    qsizetype j = 0;
    for (qsizetype k = 1; k <= m; ++k)
        if (at(n, k) <= at(n, j))
            j = k;
    QString missed;
    qsizetype i = n;
    while (i > 0 && j > 0) {
        const bool same = typed.at(i - 1) == passage.at(j - 1);
        if (at(i, j) == at(i - 1, j - 1) + (same ? 0 : 1)) {
            if (!same)
                missed.prepend(passage.at(j - 1));
            --i;
            --j;
        } else if (at(i, j) == at(i, j - 1) + 1) {
            missed.prepend(passage.at(j - 1)); // left out
            --j;
        } else {
            --i; // one too many
        }
    }
    // Passage characters before the first one typed were left out too.
    if (i == 0 && n > 0)
        missed.prepend(passage.left(j));
    return missed;
}

QString TypingTest::missedInRun() {
    QString characters;
    for (int b = 1; b <= kBlocks; ++b)
        for (QChar c : missed(passageLine(b).text(), typedLine(b).text()))
            // Only what the lookup page can look up: a sign (，。) has no code to practise.
            if (gb::isHanzi(c) && !characters.contains(c))
                characters += c;
    return characters;
}

void TypingTest::setReview(const QString& characters) {
    Label41.setCaption(characters);
    Label41.setVisible(!characters.isEmpty());
}

bool TypingTest::running() const {
    return Timer1.enabled();
}

void TypingTest::setRunning(bool on) {
    Timer1.setEnabled(on);
    Timer2.setEnabled(on);
    if (on == !m_focus.tabRange().empty())
        return;
    // A run ends only by a deliberate click on Stop or on a test: the keyboard reaches neither,
    // and Tab or Enter in the typed lines stays in them, so a blank typed after an Enter at the
    // end of the last line lands in that line instead of on Stop.
    Button6.setTabStop(!on);
    for (int t = 1; t <= kTests; ++t)
        RadioButton[10 + t].setTabStop(!on);
    if (on)
        m_focus.setTabRange({&Memo[3], &Memo[4], &Memo[5], &Memo[6]});
    else
        m_focus.setTabRange({});
}

int TypingTest::focusedBlock() const {
    for (int b = 1; b <= kBlocks; ++b)
        if (m_focus.has(Memo[b + 2]))
            return b;
    return 0;
}

TypingTest::Placed TypingTest::place(int block, const QString& head, const QString& inserted,
                                     const QString& tail) const {
    const int limit = maxLength(block);
    int bytes = gb::byteLength(head) + gb::byteLength(tail);
    Placed placed;
    placed.text = head;
    for (QChar c : inserted) {
        // No passage holds a blank, so a blank is never right; the space bar is also the key that
        // confirms a Wubi code, pressed by habit after a code the input method has already
        // committed by itself. Typed, such a blank would put every character after it out of step
        // with the passage and mark them all wrong; it is left out, without a beep, as the input
        // method itself swallows it when a code is pending.
        if (isBlank(c))
            continue;
        const int size = gb::isSingleByte(c) ? 1 : gb::isDoubleByte(c) ? 2 : 0;
        if (size == 0 || (limit > 0 && bytes + size > limit)) {
            placed.dropped = true;
            continue;
        }
        placed.text += c;
        bytes += size;
        ++placed.kept;
    }
    placed.text += tail;
    return placed;
}

bool TypingTest::edit(int block, const QString& newText, int caretInChars) {
    if (!isBlock(block))
        return false;
    controls::TypedLine& line = typedLine(block);
    const QString old = line.text();
    // What the edit replaced lies between the start and the end the two texts share.
    const int shorter = static_cast<int>(std::min(old.size(), newText.size()));
    int head = 0;
    while (head < shorter && old.at(head) == newText.at(head))
        ++head;
    int tail = 0;
    while (tail < shorter - head && old.at(old.size() - 1 - tail) == newText.at(newText.size() - 1 - tail))
        ++tail;
    const int insertedSize = static_cast<int>(newText.size()) - head - tail;
    if (m_result) {
        // A result on show: a deletion leaves it alone, a character typed starts the next run in
        // the cleared line.
        if (insertedSize <= 0)
            return false;
        const Placed placed = place(block, QString(), newText.mid(head, insertedSize), QString());
        if (placed.dropped)
            m_desktop.beep();
        if (placed.kept == 0)
            return false;
        clearResult();
        line.edit(placed.text, placed.kept);
        return true;
    }
    const Placed placed = place(block, newText.left(head), newText.mid(head, insertedSize), newText.right(tail));
    if (placed.dropped)
        m_desktop.beep();
    if (placed.text == old)
        return false;
    // The caret keeps its place among what was kept.
    int caret = caretInChars;
    if (caret >= head + insertedSize)
        caret -= insertedSize - placed.kept;
    else if (caret > head)
        caret = head + std::min(caret - head, placed.kept);
    line.edit(placed.text, caret);
    return true;
}

int TypingTest::commit(int block, const QString& s) {
    // A result on show gives way to the next run, unless nothing here would be typed.
    if (m_result && isBlock(block) && std::any_of(s.begin(), s.end(), [](QChar c) {
            return !isBlank(c) && (gb::isSingleByte(c) || gb::isDoubleByte(c));
        }))
        clearResult();
    int typed = 0;
    bool dropped = false;
    for (QChar c : s) {
        if (!isBlock(block))
            break;
        controls::TypedLine& line = typedLine(block);
        const Placed placed = place(block, line.text().left(line.caret()), QString(c), line.text().mid(line.caret()));
        dropped = dropped || placed.dropped;
        if (placed.kept == 0)
            continue;
        const controls::Control* focused = m_focus.current();
        line.edit(placed.text, line.caret() + 1);
        ++typed;
        // A full line has moved the focus on; the rest of the phrase follows it, unless the line
        // was the last and the run has ended.
        if (m_focus.current() != focused) {
            if (!running())
                break;
            block = focusedBlock();
        }
    }
    if (dropped)
        m_desktop.beep();
    return typed;
}

bool TypingTest::paste(int block, const QString& s) {
    if (!isBlock(block))
        return false;
    const controls::TypedLine& line = typedLine(block);
    QString text = line.text();
    text.insert(line.caret(), s);
    return edit(block, text, line.caret() + static_cast<int>(s.size()));
}

bool TypingTest::backspace(int block) {
    if (!isBlock(block))
        return false;
    if (typedLine(block).caret() == 0) {
        // A full line has moved the focus on by itself: going back is how its last character is
        // corrected. Only from an empty line, so that BackSpace never lands far from the caret.
        if (block == 1 || !typedLine(block).text().isEmpty() || !m_focus.has(typedLine(block)))
            return false;
        controls::TypedLine& before = typedLine(block - 1);
        before.setCaret(static_cast<int>(before.text().size()));
        m_focus.set(before, controls::Focus::Reason::Back);
        return true;
    }
    const controls::TypedLine& line = typedLine(block);
    QString text = line.text();
    text.remove(line.caret() - 1, 1);
    return edit(block, text, line.caret() - 1);
}

void TypingTest::setCaret(int block, int caretInChars) {
    if (!isBlock(block))
        return;
    controls::TypedLine& line = typedLine(block);
    line.setCaret(std::clamp(caretInChars, 0, static_cast<int>(line.text().size())));
}

} // namespace typing
