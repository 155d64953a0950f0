#include "splits.h"

#include "code_explanation.h"
#include "schema.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <stdexcept>

namespace gen {

namespace {

using lexicon::schema::kLongestValue;

// "氵/i 又/c\tn1" -> "氵i又c n1"; a root drawn from its picture, NAME@N/key, keeps its name only
// when the table may hold it.
QString fieldOf(const QStringList& columns) {
    static const QRegularExpression token(QStringLiteral("^(.+?)(?:@([0-9]+))?/([a-y])$"));
    QString field;
    for (const QString& t : columns[1].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = token.match(t);
        if (!m.hasMatch())
            return {};
        const QString name = m.captured(1);
        if (m.captured(2).isEmpty()) {
            if (!isGb2312(name))
                return {};
            field += name;
        } else {
            if (isGb2312(name) && name.size() > 1)
                field += name;
            field += m.captured(2);
        }
        field += m.captured(3);
    }
    if (columns.size() > 2)
        field += QLatin1Char(' ') + columns[2];
    return field;
}

} // namespace

QList<QStringList> splitTableRows(const Dictionary& dict, const QStringList& splitLines, QStringList& notes) {
    QHash<QString, QString> splitOf;
    for (const QString& line : splitLines) {
        if (line.startsWith(QLatin1Char('#')) || line.trimmed().isEmpty())
            continue;
        const QStringList columns = line.split(QLatin1Char('\t'));
        const QString field = columns.size() >= 2 && columns.size() <= 3 ? fieldOf(columns) : QString();
        const std::optional<drills::Split> split = drills::parseSplit(field);
        if (!split) {
            notes << QStringLiteral("split not understood: ") + line;
            continue;
        }
        if (field.size() > kLongestValue)
            throw std::runtime_error("split too long for a table field: " + line.toStdString());
        const QString full = dict.fullCode(columns[0]);
        if (!drills::explains(*split, full)) {
            notes << QStringLiteral("split left out, it gives %1, not %2: %3").arg(drills::codeOf(*split), full, line);
            continue;
        }
        splitOf.insert(columns[0], field);
    }
    QList<QStringList> rows;
    QSet<QString> done;
    for (const Entry& e : dict.characters) {
        if (done.contains(e.text) || !isGb2312Hanzi(e.text))
            continue;
        done.insert(e.text);
        rows << QStringList{e.text, dict.fullCode(e.text), splitOf.value(e.text)};
    }
    return rows;
}

} // namespace gen
