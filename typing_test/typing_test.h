#pragma once
// The article typing test: the learner chooses one of six passages, copy-types its four lines into
// the typed lines under them, and sees under every typed character a mark, "—" when it matches the
// passage and "×" when it does not, while a clock counts the seconds.
//
// The chain: choosing a test loads the passage, sets each typed line's maximum length to its
// passage line's and clicks Stop, which clears the typed lines, fills the mark lines with dashes,
// stops both timers, zeroes the counters and focuses Start. Start clears the lines, focuses the
// first one, zeroes the counters and runs the timers. Every change of a typed line runs the timers,
// judges the one character just before the caret and rewrites its mark; a line that has reached
// its passage line's length moves the focus on, and the fourth one clicks the hidden finish
// button, which stops the timers, beeps, reports the speed in characters per minute and clicks
// Stop again.
//
// Lengths and caret positions are GB2312 bytes (see gb_text.h); a mark is one double-byte
// character, so mark k lies under bytes 2k and 2k + 1 of the typed and passage lines.

#include "rich_line.h"

#include <controls.h>
#include <desktop.h>

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace typing {

class TypingTest {
public:
    static constexpr int kBlocks = 4;
    static constexpr int kTests = 6;
    static constexpr int kMarks = 59;
    static const QString kRight; // "—", GB2312 A1 AA
    static const QString kWrong; // "×", GB2312 A1 C1

    TypingTest(controls::Focus& focus, controls::Desktop& desktop);
    TypingTest(const TypingTest&) = delete;
    TypingTest& operator=(const TypingTest&) = delete;

    // The four lines of passage `test` (1-6), double-byte GB2312 characters only.
    static QStringList passage(int test);
    // The full mark line: 59 dashes.
    static QString fullMarkLine();
    // What the clock panel shows after `seconds` ticks: "%d:%d" of minutes (wrapping every hour)
    // and seconds.
    static QString clockText(int seconds);

private:
    controls::Focus& m_focus;
    controls::Desktop& m_desktop;
    controls::RadioGroup m_tests;

public:
    // Passage lines of blocks 1-4.
    RichLine RichEdit1{"RichEdit1"}, RichEdit2{"RichEdit2"}, RichEdit3{"RichEdit3"}, RichEdit4{"RichEdit4"};
    // Mark lines of blocks 1-4.
    RichLine RichEdit5{"RichEdit5"}, RichEdit6{"RichEdit6"}, RichEdit7{"RichEdit7"}, RichEdit8{"RichEdit8"};
    // Typed lines of blocks 1-4.
    controls::TypedLine Memo3{"Memo3"}, Memo4{"Memo4"}, Memo5{"Memo5"}, Memo6{"Memo6"};
    // "测试一" ... "测试六".
    controls::RadioButton RadioButton11, RadioButton12, RadioButton13, RadioButton14, RadioButton15, RadioButton16;
    controls::Button Button4{"Button4"};           // "开始测试"
    controls::Button Button5{"Button5"};           // the finish step, hidden, clicked by program only
    controls::Button Button6{"Button6"};           // "停止测试"
    controls::Label Panel9{"Panel9"};              // the clock
    controls::Label Label29{"Label29"};            // the seconds counter, hidden under the clock
    controls::Timer Timer1{"Timer1", 1000, false}; // its tag holds the clock count
    controls::Timer Timer2{"Timer2", 1000, false};

    // The families, indexed by block (0-3) or test (0-5).
    std::array<RichLine*, kBlocks> passageLines() { return {&RichEdit1, &RichEdit2, &RichEdit3, &RichEdit4}; }
    std::array<RichLine*, kBlocks> markLines() { return {&RichEdit5, &RichEdit6, &RichEdit7, &RichEdit8}; }
    std::array<controls::TypedLine*, kBlocks> typedLines() { return {&Memo3, &Memo4, &Memo5, &Memo6}; }
    std::array<controls::RadioButton*, kTests> testButtons() {
        return {&RadioButton11, &RadioButton12, &RadioButton13, &RadioButton14, &RadioButton15, &RadioButton16};
    }
    // Memo3-Memo6, Button4, Button6, then the six test buttons.
    const std::vector<controls::Control*>& tabOrder() const { return m_tabOrder; }

    // The handlers, wired to their controls by the constructor.
    void RadioButtonClick(int test); // test 1-6: RadioButton11Click ... RadioButton16Click
    void RadioButton11Click() { RadioButtonClick(1); }
    void RadioButton12Click() { RadioButtonClick(2); }
    void RadioButton13Click() { RadioButtonClick(3); }
    void RadioButton14Click() { RadioButtonClick(4); }
    void RadioButton15Click() { RadioButtonClick(5); }
    void RadioButton16Click() { RadioButtonClick(6); }
    void Button4Click();
    void Button6Click();
    void MemoChange(int block); // block 0-3: Memo3Change ... Memo6Change
    void Memo3Change() { MemoChange(0); }
    void Memo4Change() { MemoChange(1); }
    void Memo5Change() { MemoChange(2); }
    void Memo6Change() { MemoChange(3); }
    void Timer1Timer();
    void Timer2Timer();
    void Button5Click();

    // The chosen test (1-6), or 0 before one is chosen.
    int chosenTest() const;
    // The most bytes typed line `block` may hold; 0 (no limit) before a test is chosen.
    int maxLength(int block) const;

    // The learner's edit of typed line `block` as the view reports it: the line now holds
    // `newText` with the caret `caretInChars` QChars in. Refused, changing nothing, when the text
    // would be longer in bytes than the line's maximum length or holds a character that is neither
    // printable ASCII nor double-byte GB2312; the view then shows the model's text again.
    // Otherwise the line takes it, which runs its change handler when the text differs.
    bool edit(int block, const QString& newText, int caretInChars);

    // Helpers for tests and the fuzzer, each one learner's edit through edit(): `s` committed at
    // the caret (one key or an input-method commit of several characters), Backspace, and a caret
    // move (which changes no text and runs nothing).
    bool typeText(int block, const QString& s);
    bool backspace(int block);
    void setCaret(int block, int caretInChars);

    // Enter: the focus moves to the next control of the tab order; the key itself is swallowed.
    void enterPressed();

private:
    std::array<int, kBlocks> m_maxLength{};
    std::vector<controls::Control*> m_tabOrder;
};

} // namespace typing
