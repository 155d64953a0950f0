#include "counter.h"

#include "schema.h"

#include <algorithm>

namespace drills {

QString nextNumber(const QString& counterText) {
    const QString text = counterText.trimmed();
    // A plain number is counted on digit by digit, so that no length of it can overflow.
    const QStringView digits = text.startsWith(QLatin1Char('+')) ? QStringView(text).mid(1) : QStringView(text);
    if (!digits.isEmpty() &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        qsizetype from = 0;
        while (from + 1 < digits.size() && digits[from] == u'0')
            ++from;
        QString next = digits.mid(from).toString();
        qsizetype i = next.size() - 1;
        for (; i >= 0 && next[i] == u'9'; --i)
            next[i] = u'0';
        if (i >= 0)
            next[i] = QChar(next[i].unicode() + 1);
        else
            next.prepend(QLatin1Char('1'));
        return next;
    }
    // Anything else, a negative number or no number at all (counted as 0), is far from overflowing.
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    return QString::number((ok ? n : 0) + 1);
}

void restartCounter(controls::Edit& counter, const QString& number, bool loaded, const std::function<void()>& load) {
    if (counter.text() == number && !loaded)
        load();
    else
        counter.setText(number);
}

bool isCodeText(const QString& text) {
    return std::all_of(text.begin(), text.end(), lexicon::schema::isLetterKey);
}

} // namespace drills
