#include "counter.h"

namespace drills {

QString nextNumber(const QString& counterText) {
    bool ok = false;
    const qlonglong n = counterText.trimmed().toLongLong(&ok);
    return QString::number((ok ? n : 0) + 1);
}

void restartCounter(controls::Edit& counter, const QString& number, bool loaded, const std::function<void()>& load) {
    if (counter.text() == number && !loaded)
        load();
    else
        counter.setText(number);
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
