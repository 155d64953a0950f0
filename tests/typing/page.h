#pragma once
// A typing test page with its own focus and a recording desktop, plus the small moves a learner
// makes on it, for the tests.

#include <gb_text.h>
#include <typing.h>

#include <controls.h>
#include <recording_desktop.h>

#include <QStringDecoder>
#include <QStringEncoder>

struct Page {
    controls::Focus focus;
    RecordingDesktop desktop;
    typing::TypingTest t{focus, desktop};

    // Blocks are numbered 1-4, tests 1-6.
    controls::TypedLine& line(int block) { return t.typedLine(block); }
    typing::RichLine& marks(int block) { return t.markLine(block); }
    const QString& model(int block) { return t.passageLine(block).text(); }

    void choose(int test) { t.RadioButton[10 + test].check(); }
    // Tab or Enter (forward) or Shift+Tab as the window takes them: inside the state's tab range the
    // focus goes where the range says. False where the window's own tab order would decide.
    bool tab(bool forward = true) {
        controls::Control* to = focus.tabTarget(forward);
        if (to)
            focus.set(*to, controls::Focus::Reason::Tab);
        return to != nullptr;
    }
    // Whether the keyboard can reach a control at all (a click still can).
    static bool tabReachable(const controls::Control& c) { return c.canFocus(); }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            t.Timer1.tick();
            t.Timer2.tick();
        }
    }

    // The passage character that belongs at byte `bytes` of line `block` (rounding down).
    QString rightAt(int block, int bytes) { return model(block).mid(bytes / 2, 1); }
    // The right character for the place just after the caret.
    QString right(int block) { return rightAt(block, caretBytes(block)); }
    static QString wrongFor(const QString& c) {
        return c == QStringLiteral("错") ? QStringLiteral("对") : QStringLiteral("错");
    }
    QString wrong(int block) { return wrongFor(right(block)); }
    // A different character whose second GB2312 byte is that of `c`.
    static QString sameTrailFor(const QString& c) {
        QByteArray bytes = QStringEncoder("GBK").encode(c);
        bytes[0] = static_cast<char>(static_cast<unsigned char>(bytes.at(0)) == 0xB0 ? 0xB1 : 0xB0);
        return QStringDecoder("GBK").decode(bytes);
    }
    int caretBytes(int block) { return gb::byteLength(line(block).text().left(line(block).caret())); }

    // Types the passage line `block` from its caret to the end, one character at a time.
    // The last character may finish the test and reset the page, so the count is fixed up front.
    void typeRest(int block, bool rightChars = true) {
        const int left = (gb::byteLength(model(block)) - gb::byteLength(line(block).text())) / 2;
        for (int i = 0; i < left; ++i)
            t.paste(block, rightChars ? right(block) : wrong(block));
    }
};
