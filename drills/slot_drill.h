#pragma once
// The chain both slot drills share (pages "单字练习" and "词组练习").
//
// A row of slots, each a target label, an accepted box, a code box and a hidden result box of one
// number. A hidden counter box holds the batch number; changing its text loads that batch's targets
// from the batch table (a number the table lacks keeps slot 1's target and reads the others from
// whichever row was current). Every change of a code box looks its whole text up in the code table
// and writes what the code gives into the slot's result box; when that equals the slot's target it
// is copied into the accepted box, the code box is cleared, the focus moves to the next slot's code
// box, whose enter handler shows that slot's target and code in the hint column, and the result box
// is cleared. The last slot only fills its accepted box, whose change handler clicks the hidden
// advance button: counter plus one (loading the next batch), the drill's clear step, then the
// end-marker tests, each against the last target of the batch then on show, which may send the
// counter to a fixed batch; after a jump the hint shows the slot in focus of the batch now shown.
// The hint options show or hide the hint and give the focus back to the code box the learner was
// typing in. A code box holding a capital letter (Caps Lock on) shows a notice at the box, since
// no code matches then; it goes when no box holds one. An empty code gives nothing and an empty target accepts
// nothing and has no code to show, so that clearing a box never sets off an acceptance.
//
// A category starts its batch through start(): the code boxes take keys again, the counter is set
// to the start batch (loaded again when a failure left the counter there with nothing shown) and
// the drill's clear step runs, which puts the focus in slot 1 and shows its hint (even when the
// focus was there already). A batch that cannot be loaded (a table missing, a target empty or
// unreadable) ends the chain with lexicon::TableError after cannotPractise() has emptied every
// slot and the hint and taken the code boxes out of reach.
//
// What the learner missed goes to the drill's MissedItems: a target whose code box holds as many
// letters as the target's code (the one the hint shows) without giving the target (another
// character, or nothing), and the target of the slot in focus when the learner switches the hint
// on ("提示") to see its code. Either is one miss of that slot's target until it is accepted.
//
// A review ("练错字", "练错词") runs the same chain on batches from that list instead of the batch
// table: startReview() sets the counter to 1, and batch n is the list's n-th run of slots (a short
// list fills the row round again). An item accepted there with no miss on the way counts one right
// answer in a row; enough of them take it off the list when that batch ends (its later slots may
// ask it again, and count). There are no end markers: the batches go
// round the list until it is empty, and then (or when nothing was missed at all) every slot is
// empty with no code box to type into, as after a failure, but with nothing thrown.
//
// The drills own their controls and name the handlers; this is the part of them that is the same
// for both.

#include "controls.h"
#include "missed_items.h"
#include "practice_plan.h"
#include "schema.h"
#include "table.h"

#include <QList>
#include <QString>

#include <functional>

namespace drills {

// Whether `found` (what a code gave, or what a box accepted) is `target`. An empty target accepts
// nothing: an emptied result box would match it again and again.
inline bool isTarget(const QString& found, const QString& target) {
    return !found.isEmpty() && found == target;
}

// The lines of a slot drill's rules memo that a category, or the review, writes; line 1 keeps what
// the memo began with, and the lines below are the learner's own.
inline constexpr int kRulesMemoLines[] = {0, 2, 3, 4, 5};
// Writes those lines of `lines` into `memo`.
void writeRulesMemo(controls::Memo& memo, const QStringList& lines);

class SlotDrill {
public:
    struct Controls {
        controls::Family<controls::Label>& target;
        controls::Family<controls::Edit>& accepted;
        controls::Family<controls::Edit>& code;
        controls::Family<controls::Edit>& found; // hidden result boxes
        controls::Edit& counter;                 // batch counter, hidden
        controls::Button& advance;               // hidden
        controls::Button& clear;                 // the clear step the advance runs, hidden
        controls::Control& hint;                 // shown or hidden by the hint options
        controls::Label& hintCode;
        controls::Label& hintTarget;
        controls::RadioButton& hintOn;  // "提示"
        controls::RadioButton& hintOff; // "不提示"
        // "大写字母打不出编码…", shown at a code box that holds a capital letter (codes are typed
        // in small letters, so with Caps Lock on no code ever matches)
        controls::Label& capitals;
    };
    // The code table gives what a code types and the code of a target; the batch table the targets.
    struct Tables {
        lexicon::Table& codes;
        const lexicon::schema::CodeTable& codeFields;
        lexicon::Table& batches;
        const lexicon::schema::BatchTable& batchFields;
    };

    // `endMarkers` are tested in their order after every advance. `emptyMore` empties what else of
    // the drill a batch that cannot be loaded must not leave behind (or nothing).
    SlotDrill(Controls controls, Tables tables, controls::Focus& focus, QList<EndMarker> endMarkers,
              MissedItems& missed, std::function<void()> emptyMore = {});

    int slotCount() const { return m_c.target.size(); }

    void counterChange();                    // load the batch
    void codeChange(int slot);               // look the code up
    void foundChange(int slot);              // accept, every slot but the last
    void lastFoundChange();                  // the last slot: fill its accepted box only
    void lastAcceptedChange();               // advance
    void advanceClick();                     // counter plus one, clear step, end markers
    void clearSlots(bool allCodeBoxes);      // accepted boxes, code boxes (or the last), result boxes
    void codeEnter(int slot);                // the hint for the slot
    void codeKeyPress(int slot, QChar& key); // Esc empties the box
    // Shows or hides the hint; the focus goes back to `typingBox` (asking for `typingTarget`), or
    // to the code box of the slot entered last. Switched on by the learner, the hint's help counts
    // as a miss of the target it shows.
    void hintOptionClick(bool shown, controls::Edit* typingBox = nullptr, const QString& typingTarget = {});

    // A category's start: code boxes back in reach, batch `startBatch` loaded, then `clearAll`.
    void start(int startBatch, controls::Button& clearAll);
    // The review's start: its first batch from the missed items, then `clearAll`; with nothing
    // missed, every slot empty and nothing to type into.
    void startReview(controls::Button& clearAll);
    // A category chosen, the review too: `load` readies its tables and starts it; its rules are
    // shown (`showRules`) whether it loaded or not. A table failure leaves the category chosen
    // with nothing half-loaded (cannotPractise) and is thrown on.
    void choose(const std::function<void()>& load, const std::function<void()>& showRules);
    bool reviewing() const { return m_reviewing; }
    // Another category chosen (start() does it too): the review's batch ends, and what is typed
    // from now on is no answer of the review.
    void leaveReview();
    // Whether the review has nothing (left) to ask.
    bool reviewDone() const { return m_reviewing && m_c.target[1].caption().isEmpty(); }
    // Judges `code` typed for `target` (0 for a box of the drill's own): as many letters as the
    // target's code, not giving it, is a miss. `gives` is what the code gives, empty for nothing.
    void judge(int slot, const QString& target, const QString& code, const QString& gives);
    // A wrong code as judge() met it, for the line under its box.
    struct Miss {
        int slot;
        QString typed;
        QString gives; // empty for nothing
        QString target;
        QString targetCode;
    };
    // While the hint is shown, `note` holds one line on the wrong code in the box last typed into
    // (from `explain`), until that box changes again or another box is entered.
    void setWrongCodeNote(controls::Label& note, std::function<QString(const Miss&)> explain);
    // The box the note stands under (a slot, or 0 for the drill's own), while it is shown.
    int wrongCodeAt() const { return m_noteSlot; }
    // `target` accepted at `slot`: in a review, a right answer unless it was missed on the way.
    void accepted(int slot, const QString& target);
    // Nothing half-loaded: every slot and the hint empty, no code box to type into, until a
    // category is chosen again.
    void cannotPractise();

    // Writes what `code` types into `found` (nothing for an empty code or one the table lacks).
    // With a `target`, the code is judged for it first (judge()).
    void lookUp(const QString& code, controls::Edit& found, int slot = 0, const QString& target = {});
    // Shows `target` and its code in the hint column; a target the code table lacks, or a table
    // failure, leaves the target shown without a code.
    void showHint(const QString& target);
    // Esc (character 27) empties a code box.
    static void escape(controls::Edit& box, QChar key);
    // After a change of code box `box`, slot `where` (0 for a box of the drill's own): shows the
    // capitals notice at it while it holds a capital letter; when the box the notice stands at
    // holds none any more, the notice goes to the box that took capitals before it, or away.
    void noteCapitals(const controls::Edit& box, int where);
    // Where the capitals notice stands (a slot, or 0 for the drill's own box), while it is shown.
    int capitalsAt() const { return m_withCapitals.isEmpty() ? -1 : m_withCapitals.last(); }

private:
    struct Marker {
        QString text;
        QString jumpTo;
    };
    Controls m_c;
    Tables m_t;
    controls::Focus& m_focus;
    QList<Marker> m_markers;
    std::function<void()> m_emptyMore;
    int m_typingSlot = 1;      // the slot whose code box had the focus last: where typing goes on
    QList<int> m_withCapitals; // the boxes holding a capital letter, the latest last
    MissedItems& m_missed;
    bool m_reviewing = false;
    QList<int> m_missedHere; // the slots missed since their target was loaded (0: the drill's own box)
    QString m_hintTarget;    // the target the hint showed last, and its code
    QString m_hintCode;
    controls::Label* m_note = nullptr;
    std::function<QString(const Miss&)> m_explain;
    int m_noteSlot = -1;
    void nothingToReview();
    // Every slot empty and shut, the hint too; `more` empties what the drill shows besides.
    void emptySlots(bool more);
    void clearNote();
};

} // namespace drills
