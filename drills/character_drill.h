#pragma once
// The single-character drill (page "单字练习").
//
// The learner picks one of six categories; the category reopens the code table (wb.db, or jm.db
// for the first-level short codes), sets the batch counter to its start batch, which loads 15
// target characters from zk.db, clears every box and puts the focus in the first code box.
//
// Typing, accepting, advancing and the hint are the slot drills' chain (slot_drill.h): code boxes
// Ed1-Ed15 look codes up in the code table into the result boxes h1-h15, which accept into
// Edit1-Edit15 against the targets Label1-Label15; Edit15 clicks Button9, the advance, which sets
// the counter edit16, clicks Button8 (the clear step that keeps the codes left in Ed1-Ed14) and
// tests the end markers. The hint column is Panel13 (the code) and zi (the character), shown or
// hidden by RadioButton22 and RadioButton23.
//
// "练错字" (RadioButton30) asks the characters missed in this session (missed_items.h), fifteen a
// batch through the same chain; the memo says what counts as missed and how many are left.
//
// All of it runs nested, one handler inside another, exactly in that order. Table failures are
// thrown as lexicon::TableError and end the running chain where they happen; a batch that cannot
// be loaded (a table missing, a target empty or unreadable) first leaves the chosen category with
// its rules and map, every slot empty and no code box to type into, until a category is chosen
// again.

#include "batch_cycle.h"
#include "code_explainer.h"
#include "controls.h"
#include "hint_explanation.h"
#include "missed_items.h"
#include "picture_hints.h"
#include "practice_plan.h"
#include "slot_drill.h"
#include "table.h"

namespace drills {

class CharacterDrill {
public:
    // `codes` is the member that opens each category's code table, `batches` holds zk.db.
    CharacterDrill(controls::Focus& focus, lexicon::Table& codes, lexicon::Table& batches, QString dataFolder,
                   PictureHints& pictures);

    static constexpr int kSlots = lexicon::schema::kCharactersPerBatch;
    static constexpr int kCategories = kCharacterCategories;

    // Category choice (GroupBox1).
    controls::RadioGroup GroupBox1;
    controls::Family<controls::RadioButton> RadioButton; // RadioButton1 ... RadioButton6
    controls::RadioButton RadioButton30{QStringLiteral("RadioButton30"), QStringLiteral("练错字"), GroupBox1};

    // The characters missed in this session, here, in the typing test or sent from the lookup.
    MissedItems missed;

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
    controls::Label capsNotice{QStringLiteral("capsNotice")}; // at a code box holding capitals
    int capitalsAt() const { return m_slots.capitalsAt(); }   // its slot
    // Under a code box holding a wrong code, while the hint shows: what it gives, where it parts
    // from the target's code.
    controls::Label wrongCodeNote{QStringLiteral("wrongCodeNote")};
    int wrongCodeAt() const { return m_slots.wrongCodeAt(); } // its slot
    // What the wrong-code line's explainer found at fault in cf.db since the last call, each once.
    QList<lexicon::TableError> takeWrongCodeFaults() { return m_explainer.takeNewFaults(); }
    // The explanation of the code the hint column shows, for the strip under it.
    HintExplanation hintExplanation{HintExplanation::Of::Character, [this] { return m_dataFolder; },
                                    [this] { return hintInView(); }};

    // Handlers, each named after its control and event.
    void RadioButtonClick(int category); // RadioButton1Click ... RadioButton6Click
    void edit16Change() { m_slots.counterChange(); }
    void EdChange(int slot) { m_slots.codeChange(slot); } // Ed1Change ... Ed15Change
    void hChange(int slot) { m_slots.foundChange(slot); } // h1Change ... h14Change
    void h15Change() { m_slots.lastFoundChange(); }
    void Edit15Change() { m_slots.lastAcceptedChange(); }
    void Button9Click() { m_slots.advanceClick(); }
    void Button8Click() { m_slots.clearSlots(false); }
    void Button10Click() { m_slots.clearSlots(true); }
    void EdEnter(int slot) { m_slots.codeEnter(slot); }                        // Ed1Enter ... Ed15Enter
    void EdKeyPress(int slot, QChar& key) { m_slots.codeKeyPress(slot, key); } // Ed1KeyPress ... Ed15KeyPress
    void RadioButton30Click();
    void RadioButton22Click() { m_slots.hintOptionClick(true); }
    void RadioButton23Click() { m_slots.hintOptionClick(false); }

    // The memo's lines before any category is chosen, and once `category` is chosen.
    static QStringList initialMemoLines();
    static QStringList memoLines(int category);
    // The memo's lines for "练错字" with `missed` as it stands; `done` once a review has emptied it.
    static QStringList reviewMemoLines(const MissedItems& missed, bool done);

    // Practises `characters` (each a miss): "练错字" chosen, or started again when it was.
    void practise(const QString& characters);

    // Where the batch on show stands in the chosen category's cycle ("第 n 批，共 m 批"), or in the
    // round of "练错字"'s list; empty while no batch is on show.
    QString batchPosition() const;

private:
    void showRules(int category);
    void showReviewRules();
    void writeReviewMemo(); // after a change of the missed items
    HintExplanation::InView hintInView() const;

    lexicon::Table& m_codes;
    lexicon::Table& m_batches;
    QString m_dataFolder;
    PictureHints& m_pictures;
    CodeExplainer m_explainer;
    SlotDrill m_slots;
    BatchCycles m_cycles;
};

} // namespace drills
