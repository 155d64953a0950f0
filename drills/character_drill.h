#pragma once
// The single-character drill (page "单字练习").
//
// The learner picks one of six categories; the category reopens the code table (wb.db, or jm.db
// for the first-level short codes), sets the batch counter to its start batch, which loads 15
// target characters from zk.db, clears every box and puts the focus in the first code box.
//
// Every change of a code box looks its whole text up in the code table and writes the character
// found into the slot's hidden result box. When that equals the slot's target, the character is
// copied into the accepted box, the code box is cleared and the focus moves to the next slot, whose
// enter handler shows the code and the character of its target in the hint column. The 15th slot
// instead fills its accepted box, whose change handler advances: counter plus one (which loads the
// next batch), the next-batch clear step, then the end-marker tests, which may send the counter to
// a fixed batch; after such a jump the hint column shows the slot in focus of the batch now shown.
// Choosing 提示 or 不提示 shows or hides the hint and gives the focus back to the code box the
// learner was typing in.
//
// All of it runs nested, one handler inside another, exactly in that order. Table failures are
// thrown as lexicon::TableError and end the running chain where they happen; a batch that cannot
// be loaded (a table missing, a target empty or unreadable) first leaves the chosen category with
// its rules and map, every slot empty and no code box to type into, until a category is chosen
// again.

#include "controls.h"
#include "picture_hints.h"
#include "practice_plan.h"
#include "table.h"

namespace drills {

class CharacterDrill {
public:
    CharacterDrill(controls::Focus& focus, lexicon::Table& table1, lexicon::Table& table2, QString dataFolder,
                   PictureHints& pictures);

    static constexpr int kSlots = 15;
    static constexpr int kCategories = kCharacterCategories;

    // Category choice (GroupBox1).
    controls::RadioGroup GroupBox1;
    controls::Family<controls::RadioButton> RadioButton; // RadioButton1 ... RadioButton6

    controls::Family<controls::Label> Label;             // targets
    controls::Family<controls::Edit> Edit;               // accepted characters
    controls::Family<controls::Edit> Ed;                 // code boxes
    controls::Family<controls::Edit> h;                  // hidden result boxes: the character the code box's code gives
    controls::Edit edit16{QStringLiteral("edit16")};     // batch counter
    controls::Button Button8{QStringLiteral("Button8")}; // clear step after an advance
    controls::Button Button9{QStringLiteral("Button9")}; // advance step
    controls::Button Button10{QStringLiteral("Button10")}; // clear step after a category choice
    controls::Memo Memo1;

    // Hint column.
    controls::Label dats{QStringLiteral("dats")};
    controls::RadioGroup Panel12;
    controls::RadioButton RadioButton22{QStringLiteral("RadioButton22"), QStringLiteral("提示"), Panel12};
    controls::RadioButton RadioButton23{QStringLiteral("RadioButton23"), QStringLiteral("不提示"), Panel12};
    controls::Label Panel13{QStringLiteral("Panel13")};
    controls::Label zi{QStringLiteral("zi")};

    // Handlers, each named after its control and event.
    void RadioButtonClick(int category); // RadioButton1Click ... RadioButton6Click
    void edit16Change();
    void EdChange(int slot); // Ed1Change ... Ed15Change
    void hChange(int slot);  // h1Change ... h14Change
    void h15Change();
    void Edit15Change();
    void Button9Click();
    void Button8Click();
    void Button10Click();
    void EdEnter(int slot);                // Ed1Enter ... Ed15Enter
    void EdKeyPress(int slot, QChar& key); // Ed1KeyPress ... Ed15KeyPress
    void RadioButton22Click();
    void RadioButton23Click();

    // The memo's lines before any category is chosen.
    static QStringList initialMemoLines();

private:
    void clearSlots(bool allCodeBoxes);
    void returnFocus();
    void showRules(int category);
    void cannotPractise();

    controls::Focus& m_focus;
    lexicon::Table& m_table1;
    lexicon::Table& m_table2;
    QString m_dataFolder;
    PictureHints& m_pictures;
    int m_typingSlot = 1; // the slot whose code box had the focus last: where typing goes on
};

} // namespace drills
