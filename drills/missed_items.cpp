#include "missed_items.h"

namespace drills {

void MissedItems::missed(const QString& item) {
    if (item.isEmpty())
        return;
    m_right.insert(item, 0);
    if (m_items.contains(item))
        return;
    m_items.append(item);
    if (onChange)
        onChange();
}

bool MissedItems::right(const QString& item) {
    const auto at = m_right.find(item);
    if (at == m_right.end())
        return false;
    return ++*at >= kRightInARow;
}

void MissedItems::endBatch() {
    const qsizetype left = m_items.removeIf([this](const QString& item) {
        if (!leaving(item))
            return false;
        m_right.remove(item);
        return true;
    });
    if (left == 0)
        return;
    m_allRight = m_items.isEmpty();
    if (onChange)
        onChange();
}

QStringList MissedItems::batch(int number, int perBatch) const {
    QStringList batch;
    if (m_items.isEmpty() || perBatch <= 0)
        return batch;
    // Counted in 64 bits: a counter the learner typed past int's range still gives a batch.
    const qint64 first = (qMax<qint64>(number, 1) - 1) * perBatch;
    for (int i = 0; i < perBatch; ++i)
        batch.append(m_items[static_cast<int>((first + i) % m_items.size())]);
    return batch;
}

} // namespace drills
