#pragma once
// The phrase drill (page "词组练习"): two-, three- and four-character phrases five to a batch, and
// longer phrases one at a time on a panel laid over the five slots.
//
// Five to a batch: a category sets the batch counter to its start batch, which loads the five
// target phrases from czzk.db, then the clear step empties every box and puts the focus in the
// first code box, whose enter handler shows that phrase and its code in the hint column. Every
// change of a code box looks its whole text up in czwb.db and writes the phrase found into the
// slot's hidden result box; when that equals the slot's target it is copied into the accepted box,
// the code box is cleared and the focus moves to the next slot. The fifth slot fills its accepted
// box only; that box's change handler advances: counter plus one (loading the next batch), the
// clear step, then the end-marker tests, which may send the counter to a fixed batch; after such a
// jump the hint column shows the slot in focus of the batch now shown. Choosing 提示 or 不提示
// shows or hides the hint and gives the focus back to the code box the learner was typing in.
//
// One at a time ("多字词"): the panel is shown over the slots (which keep their state under it),
// the row counter is set to the first long-phrase row, which loads that row's first phrase, and the
// code box is cleared, which refreshes the hint. Every change of the code box looks the code up;
// the phrase found goes to a hidden result box whose change handler, on a match, clears the boxes
// and advances the row counter (loading the next phrase, or the first again after the end marker);
// then the code box's handler shows the phrase now on show and its code in the hint column.
//
// Both modes read czzk.db's one current row: a batch number without a row reads the phrases of
// whichever row either mode located last. Everything runs nested, one handler inside another, in
// exactly that order. Table failures are thrown as lexicon::TableError and end the running chain;
// phrases that cannot be loaded (a table missing, a phrase empty or unreadable) first leave the
// chosen category with its rules, the slots or the panel empty and no code box to type into,
// until a category is chosen again.

#include "controls.h"
#include "desktop.h"
#include "picture_hints.h"
#include "practice_plan.h"
#include "table.h"

namespace drills {

// Where the hint column's heading leads: a page that explains how Wubi phrase codes are formed.
inline const QString kPhraseCodeRulesUrl = QStringLiteral("https://zh.wikipedia.org/wiki/五笔字型输入法");

class PhraseDrill {
public:
    PhraseDrill(controls::Focus& focus, lexicon::Table& table3, lexicon::Table& table4, PictureHints& pictures,
                controls::Desktop& desktop);

    static constexpr int kSlots = 5;
    static constexpr int kFirstCategory = 7;                                       // RadioButton7
    static constexpr int kLongPhraseCategory = kFirstCategory + kPhraseCategories; // RadioButton10

    // Category choice (Panel6).
    controls::RadioGroup Panel6;
    controls::Family<controls::RadioButton> RadioButton; // RadioButton7 ... RadioButton10

    // The five slots (Panel8).
    controls::Family<controls::Label> cz;                // target phrases
    controls::Family<controls::Edit> cztext;             // accepted phrases
    controls::Family<controls::Edit> czt;                // code boxes
    controls::Family<controls::Edit> czh;                // hidden result boxes: the phrase the code box's code gives
    controls::Edit Edit17{QStringLiteral("Edit17")};     // batch counter
    controls::Button Button1{QStringLiteral("Button1")}; // advance step
    controls::Button Button2{QStringLiteral("Button2")}; // clear step
    controls::Memo Memo2;

    // One phrase at a time, on Panel5 over the slots.
    controls::Control Panel5{QStringLiteral("Panel5")};
    controls::Label Label24{QStringLiteral("Label24")};  // the phrase on show
    controls::Edit Edit18{QStringLiteral("Edit18")};     // code box
    controls::Edit Edit19{QStringLiteral("Edit19")};     // hidden result box: the phrase the code gives
    controls::Edit Edit20{QStringLiteral("Edit20")};     // row counter
    controls::Button Button3{QStringLiteral("Button3")}; // advance step

    // Hint column (Panel14).
    controls::Label Label20{QStringLiteral("Label20")}; // heading; a click opens kPhraseCodeRulesUrl
    controls::RadioGroup Panel15;
    controls::RadioButton RadioButton24{QStringLiteral("RadioButton24"), QStringLiteral("提示"), Panel15};
    controls::RadioButton RadioButton25{QStringLiteral("RadioButton25"), QStringLiteral("不提示"), Panel15};
    controls::Control Panel16{QStringLiteral("Panel16")}; // the hint, shown or hidden
    controls::Label zi2{QStringLiteral("zi2")};           // hint phrase
    controls::Label czts{QStringLiteral("czts")};         // hint code

    // Handlers, each named after its control and event.
    void RadioButtonClick(int category); // RadioButton7Click ... RadioButton9Click
    void RadioButton10Click();
    void Edit17Change();
    void cztChange(int slot); // czt1Change ... czt5Change
    void czhChange(int slot); // czh1Change ... czh4Change
    void czh5Change();
    void cztext5Change();
    void Button1Click();
    void Button2Click();
    void cztEnter(int slot);                // czt1Enter ... czt5Enter
    void cztKeyPress(int slot, QChar& key); // czt1KeyPress ... czt5KeyPress
    void RadioButton24Click();
    void RadioButton25Click();
    void Label20Click();
    void Edit20Change();
    void Edit18Change();
    void Edit19Change();
    void Button3Click();
    void Edit18KeyPress(QChar& key);

    // The memo's lines before any category is chosen.
    static QStringList initialMemoLines();

private:
    void writeMemo(int category);
    void coverSlots(bool covered);
    void cannotPractise();
    void showHint(const QString& phrase);
    void reopenIfClosed(lexicon::Table& table);
    void returnFocus();

    controls::Focus& m_focus;
    lexicon::Table& m_table3;
    lexicon::Table& m_table4;
    PictureHints& m_pictures;
    controls::Desktop& m_desktop;
    int m_typingSlot = 1; // the slot whose code box had the focus last: where typing goes on
};

} // namespace drills
