// The page "文章测试": four blocks of passage line, typed line and mark line, the six test
// buttons, start and stop, and the clock.

#include "binder.h"
#include "byte_column_line.h"
#include "fonts.h"
#include "form.h"
#include "pages.h"
#include "run_list.h"
#include "widgets.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace app {

namespace {

constexpr int kLineFont = 13; // pixel size of the Song face on all three lines of a block

// A typed line: one line, the input method on, text in blue on the button face.
class TypedLineEdit : public QLineEdit {
public:
    explicit TypedLineEdit(QWidget* parent) : QLineEdit(parent) {
        setFrame(false);
        setFont(fonts::song(kLineFont));
        setAttribute(Qt::WA_InputMethodEnabled, true);
        setColours(this, kBlue, buttonFace());
        setTextMargins(0, 0, 0, 0);
    }
    // BackSpace where the box itself has nothing to delete (an empty line), for the typing test to
    // go back to the line before.
    std::function<void()> onBackspaceAtStart;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Backspace && e->modifiers() == Qt::NoModifier && text().isEmpty() &&
            onBackspaceAtStart) {
            onBackspaceAtStart();
            e->accept();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }
};

} // namespace

void buildTypingTestPage(QWidget* page, Form& form, Binder& binder) {
    typing::TypingTest& t = form.typing;
    constexpr int kBlocks = typing::TypingTest::kBlocks;

    QFrame* panel7 = panel(page, QStringLiteral("Panel7"), QRect(8, 13, 697, 241), Bevel::Lowered, Bevel::Raised);
    panel(panel7, QStringLiteral("Bevel1"), QRect(8, 8, 681, 193), Bevel::Lowered, Bevel::Raised);

    const struct {
        QRect passage, typed, marks;
        QColor passageBackground;
    } blocks[kBlocks + 1] = {
        {},
        {QRect(59, 15, 614, 18), QRect(59, 32, 617, 14), QRect(59, 45, 606, 15), scrollBar()},
        {QRect(32, 60, 641, 17), QRect(32, 77, 644, 14), QRect(32, 91, 633, 15), scrollBar()},
        {QRect(32, 106, 641, 17), QRect(32, 123, 644, 14), QRect(32, 137, 633, 15), buttonFace()},
        {QRect(32, 153, 641, 17), QRect(32, 168, 644, 14), QRect(32, 183, 633, 15), buttonFace()},
    };

    // Typed lines first: they lead the page's tab order.
    TypedLineEdit* typed[kBlocks + 1] = {};
    for (int b = 1; b <= kBlocks; ++b) {
        typed[b] = named(place<TypedLineEdit>(panel7, t.typedLine(b).name(), blocks[b].typed),
                         QStringLiteral("输入第%1行").arg(b));
        binder.typedLine(t.typedLine(b), typed[b]);
    }
    for (int b = 2; b <= kBlocks; ++b)
        typed[b]->onBackspaceAtStart = [&t, &binder, before = typed[b - 1], b] {
            bool back = false;
            binder.event([&] { back = t.backspace(b); });
            // Back at the end of the line before, where its last character can be deleted.
            if (back)
                before->end(false);
        };

    const int textLeft = 2; // a frameless line edit draws its text two pixels in
    std::vector<ByteColumnLine*> passages;
    for (int b = 1; b <= kBlocks; ++b) {
        auto* passage = described(new ByteColumnLine(panel7), QStringLiteral("原文第%1行").arg(b));
        passage->setGeometry(blocks[b].passage);
        setColours(passage, windowText(), blocks[b].passageBackground);
        auto* marks = described(new ByteColumnLine(panel7), QStringLiteral("标记第%1行").arg(b));
        marks->setGeometry(blocks[b].marks);
        setColours(marks, windowText(), scrollBar());
        for (ByteColumnLine* w : {passage, marks}) {
            w->setFont(fonts::song(kLineFont));
            w->setTextLeft(textLeft);
        }
        binder.richLine(t.passageLine(b), passage);
        binder.richLine(t.markLine(b), marks);
        // While no run is under way a passage character is looked up with a click.
        passage->onClick = [&form, &binder, b](int index) { binder.event([&] { form.lookUpPassage(b, index); }); };
        passages.push_back(passage);
    }

    // The typed lines overlap their neighbours by a pixel: they lie on top.
    for (int b = 1; b <= kBlocks; ++b)
        binder.widgetOf(t.typedLine(b))->raise();

    auto* start = place<QPushButton>(panel7, t.Button4.name(), QRect(16, 208, 75, 25));
    auto* stop = place<QPushButton>(panel7, t.Button6.name(), QRect(96, 208, 75, 25));
    for (QPushButton* b : {start, stop}) {
        b->setCursor(Qt::PointingHandCursor);
        b->setFont(fonts::song(13));
    }
    binder.button(t.Button4, start);
    binder.button(t.Button6, stop);

    const int testLeft[] = {272, 344, 416, 486, 556, 624};
    for (int n = 11; n <= 16; ++n) {
        auto* r = place<QRadioButton>(panel7, t.RadioButton[n].name(), QRect(testLeft[n - 11], 213, 68, 18));
        r->setFont(fonts::song(13));
        binder.radio(t.RadioButton[n], r);
    }

    // The seconds counter and the finish button lie under the clock, out of the learner's sight.
    binder.label(t.Label29, place<QLabel>(panel7, t.Label29.name(), QRect(184, 216, 20, 13)));
    auto* finish = place<QPushButton>(panel7, t.Button5.name(), QRect(176, 208, 49, 25));
    finish->setFocusPolicy(Qt::NoFocus);
    binder.visibility(t.Button5, finish);
    QLabel* clock =
        described(captionPanel(panel7, t.Panel9.name(), QRect(173, 208, 89, 25), Bevel::Lowered, Bevel::Raised),
                  QStringLiteral("用时"));
    clock->setFont(fonts::song(14));
    setColours(clock, kBlue, buttonFace());
    binder.label(t.Panel9, clock);

    // Above the passage, while no run is under way: once a test is chosen, that a click on one of
    // its characters looks it up (the hand cursor says so over the passage too); after a run, the
    // characters it missed, each a link to the lookup page, in its place.
    auto* clickHint =
        described(place<QLabel>(page, QStringLiteral("PassageHint"), QRect(12, 0, 690, 13)), QStringLiteral("提示"));
    clickHint->setFont(fonts::song(kLineFont));
    clickHint->setText(QStringLiteral("直接输入即开始测试；点击原文中的字，可查它的五笔编码"));
    clickHint->hide();
    binder.onSync([clickHint, passages, &t] {
        const bool idle = t.chosenTest() != 0 && !t.running();
        const bool hint = idle && !t.Label41.visible() && !t.Label42.visible();
        if (clickHint->isHidden() == hint)
            clickHint->setVisible(hint);
        const Qt::CursorShape shape = idle ? Qt::PointingHandCursor : Qt::ArrowCursor;
        for (ByteColumnLine* p : passages)
            if (p->cursor().shape() != shape)
                p->setCursor(shape);
    });
    // The last run's result, at the left of the same row, from the end of the run until the next
    // start; the review follows it.
    auto* result = place<QLabel>(page, t.Label42.name(), QRect(12, 0, 0, 13));
    result->setFont(fonts::song(kLineFont));
    setColours(result, kBlue);
    binder.visibility(t.Label42, result);
    auto* review = place<QLabel>(page, t.Label41.name(), QRect(12, 0, 600, 13));
    review->setFont(fonts::song(kLineFont));
    review->setTextFormat(Qt::RichText);
    review->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    binder.visibility(t.Label41, review);
    QObject::connect(review, &QLabel::linkActivated, review,
                     [&form, &binder](const QString& c) { binder.event([&] { form.lookUp(c); }); });
    binder.onSync([result, review, &t, shown = QString(), shownResult = QString()]() mutable {
        if (t.Label41.caption() == shown && t.Label42.caption() == shownResult)
            return;
        shown = t.Label41.caption();
        shownResult = t.Label42.caption();
        result->setText(shownResult);
        described(result, QStringLiteral("本次成绩：") + shownResult);
        const int resultWidth = shownResult.isEmpty() ? 0 : result->sizeHint().width();
        result->setGeometry(12, 0, resultWidth, 13);
        const int left = shownResult.isEmpty() ? 12 : 12 + resultWidth + 13;
        QString links;
        for (QChar c : shown)
            links += QStringLiteral(" <a href=\"%1\">%1</a>").arg(c);
        review->setText(QStringLiteral("本次打错的字（点击查编码）：") + links);
        review->setGeometry(left, 0, std::min(612 - left, review->sizeHint().width()), 13);
        described(review, QStringLiteral("本次打错的字：") + shown);
    });

    // Beside them: those characters into the single-character drill's "练错字".
    auto* practise = place<QPushButton>(page, form.Button32.name(), QRect(616, 0, 88, 14));
    practise->setFont(fonts::song(13));
    practise->setFlat(true);
    practise->setCursor(Qt::PointingHandCursor);
    setColours(practise, kBlue);
    binder.button(form.Button32, practise);

    // The session's runs, while no run is under way: a line that sums up the newest after the other
    // texts of the row, where they leave room, and a chart of their speeds in the first line's
    // indent, which is always free. Either opens the list of them all. Kept in memory only: the
    // line, its tooltip and the list say so.
    // A window of no parent: as a child of the page it would sit in the page's focus chain, where
    // Qt looks for a widget to take the focus when the page is left.
    auto* list = new RunList;
    QObject::connect(page, &QObject::destroyed, [list] { delete list; });
    QStringList testNames{QString()};
    for (int n = 11; n <= 16; ++n)
        testNames << t.RadioButton[n].caption();
    auto* history = place<RunSummary>(page, QStringLiteral("RunHistory"), QRect(12, 0, 0, 13));
    history->setFont(fonts::song(kLineFont));
    history->hide();
    auto* chart = place<RunChart>(panel7, QStringLiteral("RunChart"), QRect(11, 14, 44, 42));
    chart->hide();
    for (RunListOpener* opener : std::initializer_list<RunListOpener*>{history, chart})
        QObject::connect(opener, &QAbstractButton::clicked, list, [list, opener, testNames, &t] {
            if (!t.running())
                list->open(t.runs(), testNames, opener);
        });

    // The line: from the second run on, or the first once its result has gone from the page.
    binder.onSync([history, clickHint, result, review, practise, &t, shown = QString(), shownLeft = -1, shownRight = -1,
                   shownRuns = std::size_t{0}]() mutable {
        QString text;
        const std::vector<typing::TypingTest::Run>& runs = t.runs();
        if (!t.running() && (runs.size() >= 2 || (runs.size() == 1 && !t.showingResult()))) {
            QStringList newest;
            // As many as the row could ever hold; the list has them all.
            for (std::size_t i = 0; i < std::min<std::size_t>(runs.size(), 8); ++i)
                newest << QStringLiteral("%1 %2字/分 %3%")
                              .arg(t.RadioButton[10 + std::clamp(runs[i].test, 1, 6)].caption())
                              .arg(runs[i].speed)
                              .arg(runs[i].accuracy);
            text = QStringLiteral("本次运行各次：") + newest.join(QStringLiteral("；"));
        }
        int left = 12;
        for (QLabel* w : {clickHint, result, review})
            if (!w->isHidden())
                left = std::max(left, w->x() + std::min(w->width(), w->sizeHint().width()) + 13);
        // The practice button's place is free while it is hidden.
        const int right = practise->isHidden() ? 704 : 612;
        if (text == shown && left == shownLeft && right == shownRight && runs.size() == shownRuns)
            return;
        shownRuns = runs.size();
        shown = text;
        shownLeft = left;
        shownRight = right;
        const int width = right - left;
        if (text.isEmpty() || width < 13 * 8) {
            history->hide();
            return;
        }
        history->setGeometry(left, 0, width, 13);
        history->setText(history->fontMetrics().elidedText(text, Qt::ElideRight, width));
        const QString said =
            QStringLiteral("本次运行的各次成绩，共 %1 次（仅本次运行保存，关闭窗口即清空）：按空格键打开列表")
                .arg(runs.size());
        history->setToolTip(QStringLiteral("点击打开各次成绩列表\n仅本次运行保存，关闭窗口即清空"));
        named(history, said);
        described(history, text);
        history->show();
    });

    // The chart, from the second run on.
    binder.onSync([chart, list, &t] {
        const bool show = !t.running() && t.runs().size() >= 2;
        // No list while a run is under way either.
        if (t.running() && list->isVisible())
            list->close();
        if (show) {
            std::vector<qint64> speeds;
            QStringList said;
            for (auto run = t.runs().rbegin(); run != t.runs().rend(); ++run) {
                speeds.push_back(run->speed);
                said << QString::number(run->speed);
            }
            // The newest dozen: more would crowd 44 pixels; the list draws them all.
            constexpr std::size_t kDrawn = 12;
            if (speeds.size() > kDrawn)
                speeds.erase(speeds.begin(), speeds.end() - kDrawn);
            chart->setSpeeds(speeds);
            const QString name = QStringLiteral("各次速度（每分钟字数，先后）：") + said.join(QStringLiteral("、"));
            if (chart->accessibleName() != name) {
                named(chart, name);
                described(chart, QStringLiteral("按空格键打开各次成绩列表"));
                chart->setToolTip(name + QStringLiteral("\n点击打开各次成绩列表"));
            }
        }
        if (chart->isHidden() == show)
            chart->setVisible(show);
    });

    for (controls::Timer* timer : {&t.Timer1, &t.Timer2}) {
        auto* q = new QTimer(page);
        q->setObjectName(timer->name());
        binder.timer(*timer, q);
    }
}

} // namespace app
