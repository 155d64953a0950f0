#include "counter.h"

namespace drills {

QString nextNumber(const QString& counterText) {
    bool ok = false;
    const qlonglong n = counterText.trimmed().toLongLong(&ok);
    return QString::number((ok ? n : 0) + 1);
}

} // namespace drills
