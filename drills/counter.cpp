#include "counter.h"

namespace drills {

QString nextNumber(const QString& counterText) {
    bool ok = false;
    const qlonglong n = counterText.trimmed().toLongLong(&ok);
    return QString::number((ok ? n : 0) + 1);
}

bool isCodeText(const QString& text) {
    for (QChar c : text)
        if (c < QLatin1Char('a') || c > QLatin1Char('z'))
            return false;
    return true;
}

} // namespace drills
