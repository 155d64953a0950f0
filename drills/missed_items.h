#pragma once
// The characters (or phrases) a learner missed in this session, for the drills' "练错字" and
// "练错词" categories. Nothing of it is written anywhere: it lives as long as the window.
//
// What counts as missed is decided by the drills (slot_drill.h) and the typing test's
// wrong-character list; here an item is added, asked, and leaves once it has been typed right
// kRightInARow times in a row where it is asked again. A miss meanwhile starts the count anew.
// It leaves when the batch in which it got there ends, not at once: a short list fills a batch
// round again, and the batch's later slots still ask it, where a right answer goes on counting
// and a miss keeps it on the list.

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace drills {

class MissedItems {
public:
    static constexpr int kRightInARow = 3;

    // A miss: the item joins the list (at its end, when new) and its count of right answers in a
    // row starts again. An empty text is no item.
    void missed(const QString& item);
    // A right answer where the item was asked again. Returns whether that makes kRightInARow in a
    // row: the item then leaves at the end of the batch (endBatch()), unless missed before it.
    bool right(const QString& item);
    // The batch asked ends (the next is loaded, or the review is left): the items typed right
    // enough times in a row leave the list.
    void endBatch();

    bool isEmpty() const { return m_items.isEmpty(); }
    int size() const { return m_items.size(); }
    const QStringList& items() const { return m_items; }
    // Whether the list was emptied by right answers (and nothing missed since).
    bool allTypedRight() const { return m_items.isEmpty() && m_allRight; }
    // Whether `item` is typed right enough times to leave at the end of the batch.
    bool leaving(const QString& item) const { return rightInARow(item) >= kRightInARow; }
    // Right answers in a row so far (0 for an item not on the list).
    int rightInARow(const QString& item) const { return m_right.value(item); }

    // Batch `number` (1, 2, ...) of `perBatch` items: the list taken in turn from where the batch
    // before it stopped, round again as often as it takes to fill the batch, so a short list still
    // fills every slot. Empty when nothing is missed.
    QStringList batch(int number, int perBatch) const;
    // How many batches take the list through once.
    int batchesPerRound(int perBatch) const { return (size() + perBatch - 1) / perBatch; }

    // Runs after every change of the list (an item added or gone).
    std::function<void()> onChange;

private:
    QStringList m_items; // in the order they were first missed
    QHash<QString, int> m_right;
    bool m_allRight = false;
};

} // namespace drills
