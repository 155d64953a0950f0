#include "slot_drill.h"

#include "counter.h"

#include <algorithm>

namespace drills {

void writeRulesMemo(controls::Memo& memo, const QStringList& lines) {
    for (int line : kRulesMemoLines)
        memo.setLine(line, lines[line]);
}

SlotDrill::SlotDrill(Controls c, Tables t, controls::Focus& focus, QList<EndMarker> endMarkers, MissedItems& missed,
                     std::function<void()> emptyMore)
    : m_c(c), m_t(t), m_focus(focus), m_emptyMore(std::move(emptyMore)), m_missed(missed) {
    for (const EndMarker& m : endMarkers)
        m_markers.append({QString::fromUtf8(m.text), QString::number(m.jumpTo)});
    for (int n = 1; n <= slotCount(); ++n) {
        m_c.found[n].hide();
        m_c.code[n].setMaxLength(lexicon::schema::kLongestCode);
        m_c.code[n].accepts = isCodeText;
    }
    m_c.capitals.setCaption(QStringLiteral("大写字母打不出编码，请关闭大写锁定"));
    m_c.capitals.hide();
    m_c.counter.hide();
    m_c.advance.hide();
    m_c.clear.hide();
}

void SlotDrill::leaveReview() {
    // Leaving the review ends the batch it was asking.
    if (m_reviewing)
        m_missed.endBatch();
    m_reviewing = false;
}

void SlotDrill::start(int startBatch, controls::Button& clearAll) {
    leaveReview();
    for (int n = 1; n <= slotCount(); ++n)
        m_c.code[n].setEnabled(true);
    restartCounter(m_c.counter, QString::number(startBatch), !m_c.target[1].caption().isEmpty(),
                   [this] { counterChange(); });
    clearAll.click();
}

void SlotDrill::startReview(controls::Button& clearAll) {
    // A review started again ends the batch it was asking.
    if (m_reviewing)
        m_missed.endBatch();
    m_reviewing = true;
    for (int n = 1; n <= slotCount(); ++n)
        m_c.code[n].setEnabled(true);
    // Loaded again even when the counter holds 1 already: the list may have changed since.
    restartCounter(m_c.counter, QStringLiteral("1"), false, [this] { counterChange(); });
    if (!reviewDone())
        clearAll.click();
}

void SlotDrill::choose(const std::function<void()>& load, const std::function<void()>& showRules) {
    try {
        load();
    } catch (const lexicon::TableError&) {
        cannotPractise();
        showRules();
        throw;
    }
    showRules();
}

void SlotDrill::nothingToReview() {
    m_missedHere.clear();
    emptySlots(false);
}

void SlotDrill::cannotPractise() {
    emptySlots(true);
}

void SlotDrill::emptySlots(bool more) {
    clearNote();
    for (int n = 1; n <= slotCount(); ++n) {
        m_c.target[n].setCaption(QString());
        m_c.accepted[n].setText(QString());
        m_c.code[n].setText(QString());
        m_c.found[n].setText(QString());
        m_c.code[n].setEnabled(false);
        if (m_focus.has(m_c.code[n]))
            m_focus.setOther();
    }
    if (more && m_emptyMore)
        m_emptyMore();
    m_c.hintCode.setCaption(QString());
    m_c.hintTarget.setCaption(QString());
}

void SlotDrill::counterChange() {
    m_missedHere.clear();
    clearNote();
    if (m_reviewing) {
        const QStringList batch = m_missed.batch(m_c.counter.text().toInt(), slotCount());
        if (batch.isEmpty()) {
            nothingToReview();
            return;
        }
        for (int n = 1; n <= slotCount(); ++n)
            m_c.target[n].setCaption(batch[n - 1]);
        return;
    }
    const lexicon::schema::BatchTable& f = m_t.batchFields;
    if (m_t.batches.locate(f.number, m_c.counter.text()))
        m_c.target[1].setCaption(m_t.batches.readTarget(f.targets[0]));
    for (int n = 2; n <= slotCount(); ++n)
        m_c.target[n].setCaption(m_t.batches.readTarget(f.targets[n - 1]));
}

void SlotDrill::lookUp(const QString& code, controls::Edit& found, int slot, const QString& target) {
    // An empty code types nothing, whatever odd row the table may hold: clearing a box can then
    // never set off an acceptance.
    if (!target.isEmpty() && m_noteSlot == slot)
        clearNote();
    if (code.isEmpty())
        return;
    const bool gives = m_t.codes.locate(m_t.codeFields.code, code);
    const QString text = gives ? m_t.codes.read(m_t.codeFields.text) : QString();
    // Judged before the result box takes it: an acceptance loads the next targets.
    if (!target.isEmpty())
        judge(slot, target, code, text);
    if (gives)
        found.setText(text);
}

void SlotDrill::codeChange(int slot) {
    noteCapitals(m_c.code[slot], slot);
    lookUp(m_c.code[slot].text(), m_c.found[slot], slot, m_c.target[slot].caption());
}

void SlotDrill::judge(int slot, const QString& target, const QString& code, const QString& gives) {
    // A capital letter is Caps Lock, which the capitals notice tells of: no answer at all.
    if (gives == target || std::any_of(code.begin(), code.end(), [](QChar c) { return c.isUpper(); }))
        return;
    // The target's code as the hint shows it; found again only for a box typed into without the
    // hint having shown its target (which the focus always gives it).
    QString targetCode = m_hintCode;
    if (target != m_hintTarget) {
        if (!m_t.codes.locate(m_t.codeFields.text, target))
            return;
        targetCode = m_t.codes.read(m_t.codeFields.code);
    }
    if (targetCode.isEmpty() || code.size() < targetCode.size())
        return;
    if (m_note && m_explain) {
        m_note->setCaption(m_explain({slot, code, gives, target, targetCode}));
        m_noteSlot = slot;
        m_note->setVisible(m_c.hint.visible());
    }
    if (m_missedHere.contains(slot))
        return;
    m_missedHere.append(slot);
    m_missed.missed(target);
}

void SlotDrill::setWrongCodeNote(controls::Label& note, std::function<QString(const Miss&)> explain) {
    m_note = &note;
    m_explain = std::move(explain);
    note.hide();
}

void SlotDrill::clearNote() {
    m_noteSlot = -1;
    if (!m_note)
        return;
    m_note->setCaption(QString());
    m_note->hide();
}

void SlotDrill::accepted(int slot, const QString& target) {
    const bool missedHere = m_missedHere.removeOne(slot);
    if (m_reviewing && !missedHere)
        m_missed.right(target);
}

void SlotDrill::noteCapitals(const controls::Edit& box, int where) {
    const QString& text = box.text();
    m_withCapitals.removeOne(where);
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); }))
        m_withCapitals.append(where);
    // The notice stands at the box that took capitals last; when that box holds none any more, it
    // goes back to another that still does.
    m_c.capitals.setVisible(!m_withCapitals.isEmpty());
}

void SlotDrill::foundChange(int slot) {
    const QString found = m_c.found[slot].text();
    if (!isTarget(found, m_c.target[slot].caption()))
        return;
    accepted(slot, found);
    m_c.accepted[slot].setText(found);
    m_c.code[slot].clear();
    m_focus.set(m_c.code[slot + 1]);
    m_c.found[slot].clear();
}

void SlotDrill::lastFoundChange() {
    const QString found = m_c.found[slotCount()].text();
    if (isTarget(found, m_c.target[slotCount()].caption())) {
        accepted(slotCount(), found);
        m_c.accepted[slotCount()].setText(found);
    }
}

void SlotDrill::lastAcceptedChange() {
    if (isTarget(m_c.accepted[slotCount()].text(), m_c.target[slotCount()].caption()))
        m_c.advance.click();
}

void SlotDrill::advanceClick() {
    try {
        // The items typed right enough times leave with the batch that asked them.
        if (m_reviewing)
            m_missed.endBatch();
        m_c.counter.setText(nextNumber(m_c.counter.text()));
        if (m_reviewing) {
            // The review goes round its list; once the list is empty the slots are too.
            if (!reviewDone())
                m_c.clear.click();
            return;
        }
        m_c.clear.click();
        bool jumped = false;
        for (const Marker& marker : m_markers) {
            if (m_c.target[slotCount()].caption() == marker.text) {
                m_c.counter.setText(marker.jumpTo);
                jumped = true;
            }
        }
        // The clear step showed the hint for a batch that the jump has replaced: show the one for
        // the slot the learner types in now, so the hint never names a target that is not on show.
        if (jumped)
            for (int n = 1; n <= slotCount(); ++n)
                if (m_focus.has(m_c.code[n]))
                    codeEnter(n);
    } catch (const lexicon::TableError&) {
        cannotPractise();
        throw;
    }
}

void SlotDrill::clearSlots(bool allCodeBoxes) {
    for (int n = 1; n <= slotCount(); ++n)
        m_c.accepted[n].clear();
    for (int n = allCodeBoxes ? 1 : slotCount(); n <= slotCount(); ++n)
        m_c.code[n].clear();
    for (int n = 1; n <= slotCount(); ++n)
        m_c.found[n].clear();
    // A focus already in slot 1 (a category button that took no focus on the click) runs no enter
    // handler: the hint is shown all the same, for the batch now on show.
    if (m_focus.has(m_c.code[1]))
        codeEnter(1);
    else
        m_focus.set(m_c.code[1]);
}

void SlotDrill::codeEnter(int slot) {
    if (m_noteSlot != slot)
        clearNote();
    m_typingSlot = slot;
    showHint(m_c.target[slot].caption());
}

void SlotDrill::showHint(const QString& target) {
    // A target the table does not hold, or cannot give, is shown without a code, never with the
    // code of the one before it; an empty target has no code whatever odd row the table may hold.
    QString code;
    try {
        if (!target.isEmpty() && m_t.codes.locate(m_t.codeFields.text, target))
            code = m_t.codes.read(m_t.codeFields.code);
    } catch (const lexicon::TableError&) {
        m_c.hintCode.setCaption(QString());
        m_c.hintTarget.setCaption(target);
        throw;
    }
    m_hintTarget = target;
    m_hintCode = code;
    m_c.hintCode.setCaption(code);
    m_c.hintTarget.setCaption(target);
}

void SlotDrill::codeKeyPress(int slot, QChar& key) {
    escape(m_c.code[slot], key);
}

void SlotDrill::escape(controls::Edit& box, QChar key) {
    if (key == QChar(27))
        box.setText(QString());
}

void SlotDrill::hintOptionClick(bool shown, controls::Edit* typingBox, const QString& typingTarget) {
    m_c.hint.setVisible(shown);
    // The note tells the target's code: it shows with the hint only.
    if (m_note)
        m_note->setVisible(shown && m_noteSlot >= 0);
    // The learner's choice took the focus to the option; typing goes on in the code box it came
    // from, with its half-typed code left as it was. Checked by program, the option moves nothing.
    if (!m_focus.has(m_c.hintOn) && !m_focus.has(m_c.hintOff))
        return;
    const int slot = typingBox ? 0 : m_typingSlot;
    const QString target = typingBox ? typingTarget : m_c.target[m_typingSlot].caption();
    // The code now in view is help taken: the target counts as missed, once until it is accepted.
    if (shown && !target.isEmpty() && !m_missedHere.contains(slot)) {
        m_missedHere.append(slot);
        m_missed.missed(target);
    }
    controls::Edit& box = typingBox ? *typingBox : m_c.code[m_typingSlot];
    m_focus.set(box);
    box.setAllSelected(false);
}

} // namespace drills
