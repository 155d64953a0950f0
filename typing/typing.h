#pragma once
// The article typing test: the learner chooses one of six passages, copy-types its four lines into
// the typed lines under them, and sees under every typed character a mark, "—" when it matches the
// passage and "×" when it does not, while a clock counts the seconds.
//
// The chain: choosing a test loads the passage, sets each typed line's maximum length to its
// passage line's and clicks Stop, which clears the typed lines, fills the mark lines with dashes,
// stops both timers, zeroes the counters and focuses Start. Start clears the lines, focuses the
// first one, zeroes the counters and runs the timers. Every change of a typed line runs the timers
// and writes its mark line again, so the marks always judge the line as it now stands (a deleted
// wrong character leaves no "×" behind, an insertion shifts the marks with the characters); a
// line that has reached its passage line's length moves the focus on, and the fourth one clicks
// the hidden finish button, which stops the timers, beeps, reports the speed in characters per
// minute with the accuracy and the number of wrong characters, and clicks Stop again.
//
// A run's result stays: Stop at the end of a run (clicked, or by the finish) keeps the typed lines,
// their marks and the clock as they stood, shows the result line (time, speed, accuracy, wrong
// characters) and adds the run to the session's list of runs; only its hidden counters go back to
// 0. The next start clears it all: Start, choosing a test, or a character typed into a typed line,
// which then lands in the cleared line and starts the clock. A deletion leaves the result alone.
//
// While the timers run, a run is under way: Tab and Enter move only among the typed lines, and
// neither Stop nor a test button can be reached by the keyboard, so no routine key ends the run;
// a click on either still does.
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
    controls::Family<RichLine> RichEdit;                 // RichEdit1-4 passage lines, RichEdit5-8 mark lines
    controls::Family<controls::TypedLine> Memo;          // Memo3-Memo6: the typed lines of blocks 1-4
    controls::Family<controls::RadioButton> RadioButton; // RadioButton11-16: "测试一" ... "测试六"
    controls::Button Button4{"Button4"};                 // "开始测试"
    controls::Button Button5{"Button5"};                 // the finish step, hidden, clicked by program only
    controls::Button Button6{"Button6"};                 // "停止测试"
    controls::Label Panel9{"Panel9"};                    // the clock
    controls::Label Label29{"Label29"};                  // seconds elapsed, hidden under the clock
    controls::Timer Timer1{"Timer1", 1000, false};       // its tag holds the clock's count
    controls::Timer Timer2{"Timer2", 1000, false};
    // The Chinese characters the last run missed (see missed()), each once, in passage order:
    // offered for review from the end of a run (finished or stopped) until the next starts or
    // another test is chosen. Hidden while there are none.
    controls::Label Label41{"Label41"};
    // The result of the last run, from its end until the next start: time, speed, accuracy and
    // wrong characters. Hidden while there is none.
    controls::Label Label42{"Label42"};

    // One run of this session, finished or stopped with something typed.
    struct Run {
        int test = 0;     // 1-6
        int seconds = 0;  // counted, as the clock showed them
        qint64 speed = 0; // characters a minute, as the finish reports it
        int accuracy = 0; // per cent, rounded down
        int wrong = 0;    // characters missed (see missed())
    };
    // The session's runs, newest first; kept in memory only.
    const std::vector<Run>& runs() const { return m_runs; }
    // Whether the last run's result is on show (the typed lines hold it, not a run under way).
    bool showingResult() const { return m_result; }
    // The result line for `run`, and the finish message for it.
    static QString resultText(const Run& run);
    // A run's time in words ("45 秒", "1 分 10 秒").
    static QString durationText(int seconds);
    static QString finishMessage(const Run& run);

    // The three lines of block 1-4.
    RichLine& passageLine(int block) { return RichEdit[block]; }
    RichLine& markLine(int block) { return RichEdit[kBlocks + block]; }
    controls::TypedLine& typedLine(int block) { return Memo[block + 2]; }

    // The handlers, wired to their controls by the constructor.
    void RadioButtonClick(int test); // test 1-6: RadioButton11Click ... RadioButton16Click
    void Button4Click();
    void Button6Click();
    void MemoChange(int block); // block 1-4: Memo3Change ... Memo6Change
    void Timer1Timer();
    void Timer2Timer();
    void Button5Click();

    // The characters of the review (Label41's), as data: what the last run missed, for practice.
    const QString& missedCharacters() const { return Label41.caption(); }
    // The passage characters that `typed` missed of `passage` (one line of each), in passage order,
    // repeats kept. The marks judge by place, so one character too many or too few puts the rest of
    // a line out of step; this list does not. The typed line is aligned with the passage by the
    // fewest edits (a character typed for another, one typed too many, one left out, one each),
    // where the passage after the learner's last character is free: that part was not typed yet,
    // or went on in the next line after a phrase overran this one. Missed are the passage
    // characters the alignment pairs with a different typed character or leaves out between typed
    // ones; of equally short alignments the one reaching furthest into the passage is taken, so a
    // wrong last character counts as missed rather than as one too many.
    static QString missed(const QString& passage, const QString& typed);

    // Whether a run is under way: the clock runs, the keyboard stays in the typed lines, and only a
    // click on Stop or on a test ends the run.
    bool running() const;

    // The chosen test (1-6), or 0 before one is chosen.
    int chosenTest() const;
    // The most bytes typed line `block` (1-4) may hold; 0 (no limit) before a test is chosen.
    int maxLength(int block) const;

    // The learner's input into typed line `block` (1-4), as the view tells it apart:
    //  - edit(): a key, a paste, a deletion or a drop left the line holding `newText` with the
    //    caret `caretInChars` QChars in. One change, judged once. Of what it inserted, the
    //    characters a line cannot hold (a line break, anything outside GB2312) and those that would
    //    take the line past its passage line's length are left out, with one beep; blanks are left
    //    out silently; the rest is kept. Returns whether the line changed (if not, the view shows
    //    the line's text again).
    //  - commit(): an input method committed `s` at the caret, one character or a whole phrase.
    //    Each character is an edit of its own, judged in turn, and goes into the typed line that
    //    has the focus by then, so a phrase that fills a line goes on in the next one; once the
    //    run has ended (the fourth line filled) the rest is not typed. Characters left
    //    out as above sound one beep (blanks none). Returns how many characters were typed.
    //  - paste(): `s` pasted at the caret: one edit.
    bool edit(int block, const QString& newText, int caretInChars);
    int commit(int block, const QString& s);
    bool paste(int block, const QString& s);
    // Backspace in typed line `block`: deletes the character before the caret; at the start of an
    // empty line it goes back to the end of the line before (whose last character can then be
    // corrected), without changing any text. Returns whether anything happened.
    bool backspace(int block);
    // A helper for tests and the fuzzer: a caret move (which changes no text and runs nothing).
    void setCaret(int block, int caretInChars);

private:
    static bool isBlock(int block) { return block >= 1 && block <= kBlocks; }
    // A half- or full-width blank, which no typed line takes.
    static bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); }
    // Writes mark line `block` (1-4) for its typed line as it stands.
    void showMarks(int block);
    // The Chinese characters the run as it stands missed (see missed()), each once.
    QString missedInRun();
    void setReview(const QString& characters);
    // The run as it stands measured: its time, speed, accuracy and wrong characters.
    Run measure();
    // Keeps `run` as the result on show and at the head of the session's list.
    void keepResult(const Run& run);
    // Drops the result on show, and with it the typed lines, their marks and the clock, for the
    // next run.
    void clearResult();
    // Starts or ends a run: both timers, and what the keyboard can reach.
    void setRunning(bool on);
    // The typed line that has the focus (1-4), or 0.
    int focusedBlock() const;
    // What an edit of line `block` leaves when it replaces the text between the first `head` and
    // the last `tail` characters of the line with `inserted`: the characters the line can take.
    struct Placed {
        QString text;
        int kept = 0;         // characters of `inserted` kept
        bool dropped = false; // some were left out
    };
    Placed place(int block, const QString& head, const QString& inserted, const QString& tail) const;
    std::array<int, kBlocks + 1> m_maxLength{}; // by block 1-4
    bool m_result = false;
    std::vector<Run> m_runs;
};

} // namespace typing
