#include "counter.h"

namespace drills {

QString nextNumber(const QString& counterText) {
    bool ok = false;
    const qlonglong n = counterText.trimmed().toLongLong(&ok);
    return QString::number((ok ? n : 0) + 1);
}

bool isCodeText(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < u'a' || u > u'z') && (u < u'A' || u > u'Z'))
            return false;
    }
    return true;
}

} // namespace drills
