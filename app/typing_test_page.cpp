// The page "文章测试": four blocks of passage line, typed line and mark line, the six test
// buttons, start and stop, and the clock.

#include "binder.h"
#include "fonts.h"
#include "form.h"
#include "gb_text.h"
#include "pages.h"
#include "widgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

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
    }
};

} // namespace

void buildTypingTestPage(QWidget* page, Form& form, Binder& binder) {
    typing::TypingTest& t = form.typing;

    QFrame* panel7 = panel(page, QStringLiteral("Panel7"), QRect(8, 13, 697, 241), Bevel::Lowered, Bevel::Raised);
    panel(panel7, QStringLiteral("Bevel1"), QRect(8, 8, 681, 193), Bevel::Lowered, Bevel::Raised);

    const struct {
        QRect passage, typed, marks;
        QColor passageBackground;
    } blocks[typing::TypingTest::kBlocks] = {
        {QRect(59, 15, 614, 18), QRect(59, 32, 617, 14), QRect(59, 45, 606, 15), scrollBar()},
        {QRect(32, 60, 641, 17), QRect(32, 77, 644, 14), QRect(32, 91, 633, 15), scrollBar()},
        {QRect(32, 106, 641, 17), QRect(32, 123, 644, 14), QRect(32, 137, 633, 15), buttonFace()},
        {QRect(32, 153, 641, 17), QRect(32, 168, 644, 14), QRect(32, 183, 633, 15), buttonFace()},
    };
    const auto passages = t.passageLines();
    const auto marks = t.markLines();
    const auto typed = t.typedLines();

    // Typed lines first: they lead the page's tab order.
    for (int b = 0; b < typing::TypingTest::kBlocks; ++b) {
        auto* w = new TypedLineEdit(panel7);
        w->setObjectName(typed[b]->name());
        w->setGeometry(blocks[b].typed);
        w->setTextMargins(0, 0, 0, 0);
        binder.focusable(*typed[b], w);
        controls::TypedLine& line = *typed[b];
        QObject::connect(w, &QLineEdit::textEdited, &binder, [&binder, &t, w, b](const QString& text) {
            const int caret = w->cursorPosition();
            binder.event([&] { t.edit(b, text, caret); });
        });
        QObject::connect(w, &QLineEdit::cursorPositionChanged, &binder, [&t, w, b](int, int now) {
            if (w->text() == t.typedLines()[b]->text())
                t.setCaret(b, now);
        });
        binder.onSync([w, &line] {
            // Shows the model's line again: after a clear, or after an edit it refused.
            if (w->text() != line.text()) {
                w->setText(line.text());
                w->setCursorPosition(line.caret());
            }
        });
    }

    const int textLeft = 2; // a frameless line edit draws its text two pixels in
    for (int b = 0; b < typing::TypingTest::kBlocks; ++b) {
        for (int which = 0; which < 2; ++which) {
            const typing::RichLine& line = which == 0 ? *passages[b] : *marks[b];
            auto* w = new ByteColumnLine(panel7);
            w->setObjectName(line.name());
            w->setFont(fonts::song(kLineFont));
            w->setGeometry(which == 0 ? blocks[b].passage : blocks[b].marks);
            w->setTextLeft(textLeft);
            setColours(w, windowText(), which == 0 ? blocks[b].passageBackground : scrollBar());
            binder.onSync([w, &line] { w->setText(line.text()); });
        }
    }

    // The typed lines overlap their neighbours by a pixel: they lie on top.
    for (controls::TypedLine* line : typed)
        binder.widgetOf(*line)->raise();

    auto* start = place<QPushButton>(panel7, t.Button4.name(), QRect(16, 208, 75, 25));
    auto* stop = place<QPushButton>(panel7, t.Button6.name(), QRect(96, 208, 75, 25));
    for (QPushButton* b : {start, stop}) {
        b->setCursor(Qt::PointingHandCursor);
        b->setFont(fonts::song(12));
    }
    binder.button(t.Button4, start);
    binder.button(t.Button6, stop);

    const int testLeft[] = {272, 344, 416, 486, 556, 624};
    const auto tests = t.testButtons();
    for (int i = 0; i < typing::TypingTest::kTests; ++i) {
        auto* r = place<QRadioButton>(panel7, tests[i]->name(), QRect(testLeft[i], 213, 68, 18));
        r->setFont(fonts::song(12));
        binder.radio(*tests[i], r);
    }

    // The seconds counter and the finish button lie under the clock, out of the learner's sight.
    auto* label29 = place<QLabel>(panel7, t.Label29.name(), QRect(184, 216, 20, 13));
    binder.label(t.Label29, label29);
    auto* finish = place<QPushButton>(panel7, t.Button5.name(), QRect(176, 208, 49, 25));
    finish->setFocusPolicy(Qt::NoFocus);
    binder.visibility(t.Button5, finish);
    QLabel* clock =
        captionPanel(panel7, QStringLiteral("Panel9"), QRect(173, 208, 89, 25), Bevel::Lowered, Bevel::Raised);
    clock->setFont(fonts::song(14));
    setColours(clock, kBlue, buttonFace());
    binder.label(t.Panel9, clock);

    for (controls::Timer* timer : {&t.Timer1, &t.Timer2}) {
        auto* q = new QTimer(page);
        q->setObjectName(timer->name());
        binder.timer(*timer, q);
    }
}

} // namespace app
