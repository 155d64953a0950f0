#include "batch_cycle.h"

namespace drills {

void BatchCycles::read(const lexicon::Table& batches, const QString& numberField) {
    if (m_read || !batches.isOpen())
        return;
    QList<int> sizes(m_cycles.size(), 0);
    try {
        lexicon::Table own(QStringLiteral("cycles"));
        own.open(batches.folder(), batches.tableName());
        for (int i = 0; i < m_cycles.size(); ++i) {
            const Cycle& c = m_cycles[i];
            own.forEachMatch(c.lastField, c.marker, [&] {
                bool ok = false;
                const int batch = own.read(numberField).toInt(&ok);
                // The first in the range; one below the lowest would make an empty cycle.
                if (ok && batch > c.range.first && batch <= c.range.last && sizes[i] == 0)
                    sizes[i] = batch - c.range.first;
            });
        }
    } catch (const lexicon::TableError&) {
        // The drill meets the same fault and says so; the position waits for a table that reads.
        return;
    }
    m_sizes = sizes;
    m_read = true;
}

QString BatchCycles::position(int i, const QString& counter, const QString& unit) const {
    if (i < 0 || i >= m_cycles.size())
        return QString();
    bool ok = false;
    const qint64 batch = counter.toLongLong(&ok);
    return ok ? cyclePosition(batch - m_cycles[i].range.first + 1, size(i), unit) : QString();
}

QString cyclePosition(qint64 n, qint64 m, const QString& unit) {
    if (n < 1 || n > m)
        return QString();
    return QStringLiteral("第 %1 %3，共 %2 %3").arg(n).arg(m).arg(unit);
}

QString reviewPosition(const QString& counter, int batchesPerRound) {
    bool ok = false;
    const qint64 batch = counter.toLongLong(&ok);
    if (!ok || batch < 1 || batchesPerRound <= 0)
        return QString();
    return cyclePosition((batch - 1) % batchesPerRound + 1, batchesPerRound, QStringLiteral("批"));
}

} // namespace drills
