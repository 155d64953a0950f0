#pragma once
// Where a drill stands in a category's cycle of batches, as the learner is told it ("第 3 批，共 12
// 批"). A category's batches run from its lowest (practice_plan.h) up to the batch whose last target
// is its end marker; that batch, once reached, sends the counter back at once, so the cycle is the
// batches before it. Which batch that is only the batch table knows.

#include "practice_plan.h"
#include "table.h"

#include <QList>
#include <QString>

namespace drills {

class BatchCycles {
public:
    struct Cycle {
        BatchRange range;  // the batches the category may show; range.first is its lowest
        QString lastField; // the batch table's field of a batch's last target
        QString marker;    // the category's end marker
    };
    explicit BatchCycles(QList<Cycle> cycles) : m_cycles(std::move(cycles)), m_sizes(m_cycles.size(), 0) {}

    // Finds each cycle's end in the table file `batches` has open (`numberField` its batch numbers),
    // through a handle of its own, so the drill's current row stays where it is. Read once; a table
    // that fails leaves every size unknown until a later call reads it.
    void read(const lexicon::Table& batches, const QString& numberField);
    // Batches in cycle `i`: 0 while unknown, or when the table holds no end marker in its range.
    int size(int i) const { return i >= 0 && i < m_sizes.size() ? m_sizes[i] : 0; }
    // Where counter text `counter` stands in cycle `i`, in `unit` ("批", "个"); empty when it is
    // none of the cycle's batches or the cycle's size is unknown.
    QString position(int i, const QString& counter, const QString& unit) const;

private:
    QList<Cycle> m_cycles;
    QList<int> m_sizes;
    bool m_read = false;
};

// "第 n <unit>，共 m <unit>" for 1 <= n <= m; empty otherwise.
QString cyclePosition(qint64 n, qint64 m, const QString& unit);
// Where a review's batch `counter` stands: the list goes round, `batchesPerRound` batches a round,
// so the batch's place in the round.
QString reviewPosition(const QString& counter, int batchesPerRound);

} // namespace drills
