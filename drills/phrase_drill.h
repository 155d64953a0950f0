#pragma once
// The phrase drill (page "词组练习"): two-, three- and four-character phrases five to a batch, and
// longer phrases one at a time on a panel laid over the five slots.
//
// Five to a batch: a category sets the batch counter Edit17 to its start batch, which loads the
// five target phrases from czzk.db, then the clear step Button2 empties every box and puts the
// focus in the first code box. Typing, accepting, advancing and the hint are the slot drills' chain
// (slot_drill.h): code boxes czt1-czt5 look codes up in czwb.db into the result boxes czh1-czh5,
// which accept into cztext1-cztext5 against the targets cz1-cz5; cztext5 clicks Button1, the
// advance, which sets the counter, clicks Button2 and tests the end markers. The hint column is
// zi2 (the phrase) and czts (its code) on Panel16, shown or hidden by RadioButton24 and
// RadioButton25, which give the focus back to the code box the learner was typing in.
//
// One at a time ("多字词"): the panel is shown over the slots (which keep their state under it),
// the row counter is set to the first long-phrase row, which loads that row's first phrase, and the
// code box is cleared, which refreshes the hint. Every change of the code box looks the code up;
// the phrase found goes to a hidden result box whose change handler, on a match, clears the boxes
// and advances the row counter (loading the next phrase, or the first again after the end marker);
// then the code box's handler shows the phrase now on show and its code in the hint column.
//
// "练错词" (RadioButton31) asks the phrases missed in this session (missed_items.h), five a batch
// through the slots' chain; the memo says what counts as missed and how many are left.
//
// Both modes read czzk.db's one current row: a batch number without a row reads the phrases of
// whichever row either mode located last. Everything runs nested, one handler inside another, in
// exactly that order. Table failures are thrown as lexicon::TableError and end the running chain;
// phrases that cannot be loaded (a table missing, a phrase empty or unreadable) first leave the
// chosen category with its rules, the slots or the panel empty and no code box to type into,
// until a category is chosen again.

#include "batch_cycle.h"
#include "code_explainer.h"
#include "controls.h"
#include "desktop.h"
#include "hint_explanation.h"
#include "missed_items.h"
#include "picture_hints.h"
#include "practice_plan.h"
#include "slot_drill.h"
#include "table.h"

namespace drills {

// Where the hint column's heading leads: a page that explains how Wubi phrase codes are formed.
inline const QString kPhraseCodeRulesUrl = QStringLiteral("https://zh.wikipedia.org/wiki/五笔字型输入法");

class PhraseDrill {
public:
    // `codes` holds czwb.db, `batches` czzk.db.
    PhraseDrill(controls::Focus& focus, lexicon::Table& codes, lexicon::Table& batches, PictureHints& pictures,
                controls::Desktop& desktop);

    static constexpr int kSlots = lexicon::schema::kPhrasesPerBatch;
    static constexpr int kFirstCategory = 7;                                       // RadioButton7
    static constexpr int kLongPhraseCategory = kFirstCategory + kPhraseCategories; // RadioButton10

    // Category choice (Panel6).
    controls::RadioGroup Panel6;
    controls::Family<controls::RadioButton> RadioButton; // RadioButton7 ... RadioButton10
    controls::RadioButton RadioButton31{QStringLiteral("RadioButton31"), QStringLiteral("练错词"), Panel6};

    // The phrases missed in this session.
    MissedItems missed;

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
    controls::Control Panel16{QStringLiteral("Panel16")};     // the hint, shown or hidden
    controls::Label zi2{QStringLiteral("zi2")};               // hint phrase
    controls::Label czts{QStringLiteral("czts")};             // hint code
    controls::Label capsNotice{QStringLiteral("capsNotice")}; // at a code box holding capitals
    int capitalsAt() const { return m_slots.capitalsAt(); }   // its slot, 0 for Edit18
    // Under a code box holding a wrong code, while the hint shows: what it gives, where it parts
    // from the target's code.
    controls::Label wrongCodeNote{QStringLiteral("wrongCodeNote")};
    int wrongCodeAt() const { return m_slots.wrongCodeAt(); } // its slot, 0 for Edit18
    // What the wrong-code line's explainer found at fault in cf.db since the last call, each once.
    QList<lexicon::TableError> takeWrongCodeFaults() {
        return m_explainer ? m_explainer->takeNewFaults() : QList<lexicon::TableError>();
    }
    // The explanations of the code the hint column shows: of a phrase of two to four characters in
    // the hint panel, and of a longer one beside the one-phrase panel's code box.
    HintExplanation hintExplanation{HintExplanation::Of::Phrase, [this] { return m_codes.folder(); },
                                    [this] { return hintInView(PhrasePlace::Hint); }};
    HintExplanation longPhraseExplanation{HintExplanation::Of::Phrase, [this] { return m_codes.folder(); },
                                          [this] { return hintInView(PhrasePlace::LongPhrasePanel); }};

    // Handlers, each named after its control and event.
    void RadioButtonClick(int category); // RadioButton7Click ... RadioButton9Click
    void RadioButton10Click();
    void RadioButton31Click();
    void Edit17Change() { m_slots.counterChange(); }
    void cztChange(int slot) { m_slots.codeChange(slot); }  // czt1Change ... czt5Change
    void czhChange(int slot) { m_slots.foundChange(slot); } // czh1Change ... czh4Change
    void czh5Change() { m_slots.lastFoundChange(); }
    void cztext5Change() { m_slots.lastAcceptedChange(); }
    void Button1Click() { m_slots.advanceClick(); }
    void Button2Click() { m_slots.clearSlots(true); }
    void cztEnter(int slot) { m_slots.codeEnter(slot); }                        // czt1Enter ... czt5Enter
    void cztKeyPress(int slot, QChar& key) { m_slots.codeKeyPress(slot, key); } // czt1KeyPress ... czt5KeyPress
    void RadioButton24Click() { m_slots.hintOptionClick(true, longPhraseBox(), Label24.caption()); }
    void RadioButton25Click() { m_slots.hintOptionClick(false, longPhraseBox()); }
    void Label20Click();
    void Edit20Change();
    void Edit18Change();
    void Edit19Change();
    void Button3Click();
    void Edit18KeyPress(QChar& key) { SlotDrill::escape(Edit18, key); }

    // The memo's lines before any category is chosen, and once `category` is chosen from there.
    static QStringList initialMemoLines();
    static QStringList memoLines(int category);
    // The memo's lines for "练错词" with `missed` as it stands; `done` once a review has emptied it.
    static QStringList reviewMemoLines(const MissedItems& missed, bool done);

    // Where the material on show stands in the chosen category's cycle: "第 n 批，共 m 批" of five
    // phrases, "第 n 个，共 m 个" of the long phrases, or the batch's place in the round of
    // "练错词"'s list; empty while nothing is on show.
    QString batchPosition() const;

private:
    // The panel shown for the long phrases, hidden for the others; the tables tried again if
    // closed, the material loaded by `load`, the category's rules shown, whether it loaded or not.
    void choose(int category, const std::function<void()>& load);
    void writeMemo(int category);
    void showReviewRules();
    void writeReviewMemo(); // after a change of the missed items
    // The hint's phrase and code while the phrase is explained at `place`.
    HintExplanation::InView hintInView(PhrasePlace place) const;
    void coverSlots(bool covered);
    void emptyPanel();
    void reopenIfClosed(lexicon::Table& table);
    // Where typing goes on after a hint option: the long-phrase box while its panel is shown.
    controls::Edit* longPhraseBox() { return Panel5.visible() ? &Edit18 : nullptr; }

    controls::Focus& m_focus;
    lexicon::Table& m_codes;
    lexicon::Table& m_batches;
    PictureHints& m_pictures;
    controls::Desktop& m_desktop;
    std::unique_ptr<CodeExplainer> m_explainer; // made at the first wrong code, beside czwb.db
    SlotDrill m_slots;
    BatchCycles m_cycles; // the three categories', then the long phrases'
};

} // namespace drills
