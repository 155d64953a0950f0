// The page "编码查询": the box, the answer line, and under them what was found: each phrase of the
// text with its code, then each character with every code it has and the split strip of the hint
// panel, and the candidates of a code, each one unit with its code, as an input method lists them.

#include "binder.h"
#include "code_explanation_view.h"
#include "fonts.h"
#include "form.h"
#include "input_method_guard.h"
#include "pages.h"
#include "widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

namespace app {

namespace {

constexpr int kRowHeight = 44;
constexpr int kStripWidth = 200;
constexpr int kCandidateHeight = 30;
constexpr int kCandidateColumns = 3;

QLabel* text(QWidget* parent, const QRect& geometry, const QFont& font, const QColor& colour, const QString& s) {
    auto* l = new QLabel(s, parent);
    l->setGeometry(geometry);
    l->setFont(font);
    l->setTextFormat(Qt::PlainText);
    setColours(l, colour);
    return l;
}

int widthOf(const QFont& font, const QString& s) {
    return QFontMetrics(font).horizontalAdvance(s);
}

// A code with its name before it ("全码" xcag), the name in the Song face and the code in the code
// face, where l, 1 and j cannot be taken for each other. Returns the width taken.
int namedCode(QWidget* parent, int x, int y, const QString& name, const QString& code) {
    const QFont nameFont = fonts::song(13);
    const QFont codeFont = fonts::code(15);
    const int nameWidth = widthOf(nameFont, name) + 4;
    text(parent, QRect(x, y, nameWidth, 20), nameFont, windowText(), name);
    const int codeWidth = widthOf(codeFont, code) + 4;
    text(parent, QRect(x + nameWidth, y, codeWidth, 20), codeFont, kBlue, code);
    return nameWidth + codeWidth;
}

// A row: the character or phrase large on the left, its codes beside it (two to a line), its strip
// on the right. The text is never cut: a long phrase pushes its codes to the right.
void addRow(QWidget* list, int y, const QString& what, const QList<std::pair<QString, QString>>& codes,
            const drills::Explanation& explanation, const QString& said) {
    auto* row = described(new QWidget(list), said);
    row->setGeometry(0, y, list->width(), kRowHeight);
    row->setAccessibleName(what);
    const QFont big = fonts::kai(what.size() > 1 ? 22 : 30);
    const int whatWidth = std::max(120, widthOf(big, what) + 8);
    described(text(row, QRect(4, 2, whatWidth, 40), big, windowText(), what), said);
    constexpr int kPairWidth = 150;
    // One line of codes stands level with the text, two fill the row.
    const int top = codes.size() > 2 ? 2 : 12;
    for (int i = 0; i < codes.size(); ++i)
        namedCode(row, 6 + whatWidth + (i % 2) * kPairWidth, top + (i / 2) * 20, codes[i].first, codes[i].second);
    auto* strip = new ExplanationStrip(row, QRect(list->width() - kStripWidth - 4, 2, kStripWidth, 40), 16);
    strip->setExplanation(explanation);
    strip->setVisible(!explanation.cells.isEmpty());
    if (explanation.cells.isEmpty())
        described(text(row, strip->geometry(), fonts::song(13), windowText(), QStringLiteral("拆分暂无说明")), said);
}

QList<std::pair<QString, QString>> codesOf(const drills::CharacterAnswer& a) {
    QList<std::pair<QString, QString>> codes{{QStringLiteral("全码"), a.fullCode}};
    for (int level = 1; level <= 3; ++level)
        if (!a.shortCodes.value(level - 1).isEmpty())
            codes.append({drills::shortCodeName(level), a.shortCodes[level - 1]});
    return codes;
}

// A candidate of a code: the character or phrase, its code and what the code is to it, as one
// unit the learner clicks to look it up.
class CandidateItem : public QWidget {
public:
    CandidateItem(QWidget* parent, std::function<void()> click) : QWidget(parent), m_click(std::move(click)) {
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
        setAutoFillBackground(false);
    }

protected:
    void enterEvent(QEnterEvent*) override { highlight(true); }
    void leaveEvent(QEvent*) override { highlight(false); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        // The click rebuilds the list this unit is part of: it runs after the event.
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            QMetaObject::invokeMethod(parentWidget(), m_click, Qt::QueuedConnection);
    }

private:
    void highlight(bool on) {
        QPalette p = palette();
        p.setColor(QPalette::Window, kSkyBlue);
        setPalette(p);
        setAutoFillBackground(on);
    }
    std::function<void()> m_click;
};

// The candidates of one code in columns: the character or phrase in the Kai face, its code aligned
// beside it, then its kind; a phrase too long for its column takes two. Returns the height used.
int addCandidates(QWidget* list, int y, const drills::CodeAnswer& code, int codeIndex, bool heading,
                  const std::function<void(int, int)>& click) {
    const int top = y;
    if (heading) {
        namedCode(list, 4, y, QStringLiteral("编码"), code.code);
        y += 22;
    }
    const QFont wordFont = fonts::kai(20);
    const QFont codeFont = fonts::code(15);
    const QFont kindFont = fonts::song(13);
    const int column = (list->width() - 8) / kCandidateColumns;
    const int wordSlot = widthOf(wordFont, QStringLiteral("中华人民")) + 12;
    const int codeSlot = widthOf(codeFont, QStringLiteral("mmmm")) + 8;
    int at = 0; // column of the next unit
    for (int i = 0; i < code.candidates.size(); ++i) {
        const drills::Candidate& c = code.candidates[i];
        const int wordWidth = std::max(wordSlot, widthOf(wordFont, c.text) + 12);
        const int width = wordWidth + codeSlot + widthOf(kindFont, c.kind) + 8;
        const int span = (width + column - 1) / column;
        if (at + span > kCandidateColumns && at > 0) {
            at = 0;
            y += kCandidateHeight;
        }
        auto* unit = new CandidateItem(list, [click, codeIndex, i] { click(codeIndex, i); });
        unit->setGeometry(4 + at * column, y, std::max(span * column - 4, width), kCandidateHeight - 2);
        const QString said = QStringLiteral("%1，%2 %3").arg(c.text, c.kind, c.code);
        described(named(unit, c.text), said);
        text(unit, QRect(2, 0, wordWidth, kCandidateHeight - 2), wordFont, windowText(), c.text);
        text(unit, QRect(2 + wordWidth, 0, codeSlot, kCandidateHeight - 2), codeFont, kBlue, c.code);
        text(unit, QRect(2 + wordWidth + codeSlot, 0, widthOf(kindFont, c.kind) + 4, kCandidateHeight - 2), kindFont,
             windowText(), c.kind);
        at += span;
        if (at >= kCandidateColumns) {
            at = 0;
            y += kCandidateHeight;
        }
    }
    if (at > 0)
        y += kCandidateHeight;
    if (code.moreCandidates > 0) {
        text(list, QRect(8, y, list->width() - 16, 20), fonts::song(13), windowText(),
             QStringLiteral("……还有 %1 个").arg(code.moreCandidates));
        y += 22;
    }
    return y - top;
}

// Lays the answer out in `list` again.
void show(QWidget* list, const drills::LookupAnswer& answer, const std::function<void(int, int)>& click) {
    for (QWidget* w : list->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        delete w;
    int y = 0;
    for (const drills::PhraseAnswer& p : answer.phrases) {
        addRow(list, y, p.phrase, {{QStringLiteral("词组编码"), p.code}}, p.explanation, p.text);
        y += kRowHeight;
    }
    for (const drills::CharacterAnswer& a : answer.characters) {
        addRow(list, y, a.character, codesOf(a), a.explanation, a.text);
        y += kRowHeight;
    }
    // With nothing else to show, the answer line says which code the candidates are of.
    const bool headings = answer.codes.size() > 1 || y > 0;
    for (int i = 0; i < answer.codes.size(); ++i) {
        if (y > 0)
            y += 4;
        y += addCandidates(list, y, answer.codes[i], i, headings, click);
    }
    list->setFixedHeight(std::max(y, 1));
    for (QWidget* w : list->findChildren<QWidget*>())
        if (!w->testAttribute(Qt::WA_WState_ExplicitShowHide))
            w->show();
}

} // namespace

void buildLookupPage(QWidget* page, Form& form, Binder& binder) {
    drills::CodeLookup& d = form.lookup;
    text(page, QRect(12, 12, 48, 26), fonts::song(14), windowText(), QStringLiteral("查询："));
    // The learner's input method stays on here: Chinese text is what is looked up, and the letters
    // of a code it commits are looked up as a code. A character outside GB2312 is drawn from the
    // CJK face the charts use, or any face that has it, never left blank.
    auto* box = named(place<QLineEdit>(page, d.Edit30.name(), QRect(60, 10, 340, 30)), QStringLiteral("查询内容"));
    box->setFont(fonts::songWithRoots(18));
    box->setProperty(kTakesCodeLetters, true);
    binder.edit(d.Edit30, box);
    // The characters looked up, into the single-character drill's "练错字".
    auto* practise = place<QPushButton>(page, form.Button33.name(), QRect(408, 10, 96, 30));
    practise->setFont(fonts::song(13));
    practise->setCursor(Qt::PointingHandCursor);
    binder.button(form.Button33, practise);

    // Two lines: what cannot be looked up, said in full, may take a second.
    auto* answer = place<QLabel>(page, d.Label40.name(), QRect(12, 44, 690, 36));
    answer->setFont(fonts::songWithRoots(13));
    answer->setWordWrap(true);
    answer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    binder.label(d.Label40, answer);
    described(answer, QStringLiteral("查询结果"));

    auto* scroll = place<QScrollArea>(page, QStringLiteral("ScrollBox1"), QRect(8, 82, 697, 172));
    scroll->setFrameShape(QFrame::StyledPanel);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* list = new QWidget;
    list->setObjectName(QStringLiteral("LookupAnswer"));
    list->setFixedWidth(scroll->width() - scroll->verticalScrollBar()->sizeHint().width() - 4);
    scroll->setWidget(list);
    scroll->setWidgetResizable(false);
    const auto click = [&binder, &d](int code, int index) { binder.event([&] { d.candidateClick(code, index); }); };
    binder.onSync([list, scroll, &d, click, shown = drills::LookupAnswer()]() mutable {
        if (d.answer() == shown)
            return;
        shown = d.answer();
        show(list, shown, click);
        scroll->verticalScrollBar()->setValue(0);
    });
}

} // namespace app
