// The lookup page on the real tables against the dictionary itself, read here on its own: every
// character with a short code is answered with every code the dictionary gives it, each under its
// name, and every such code lists the character under the same name.

#include "code_lookup.h"
#include "gb2312.h"
#include "recording_pictures.h"

#include <QFile>
#include <QHash>
#include <QTest>

namespace {

// Every code of each GB2312 character in the dictionary, shortest first.
QHash<QString, QStringList> dictionaryCodes() {
    QFile file(QStringLiteral(WUBI86_DICT));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    gb2312::Checker gb2312;
    QHash<QString, QStringList> codes;
    bool rows = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (!rows) {
            rows = line.trimmed() == QLatin1String("...");
            continue;
        }
        const QStringList cols = line.split(QLatin1Char('\t'));
        // A commented-out row, and the codes of z, the input method's any-letter key, are no codes.
        if (line.startsWith(QLatin1Char('#')) || cols.size() < 2 || cols[1].startsWith(QLatin1Char('z')))
            continue;
        const QString& hz = cols[0];
        if (hz.size() != 1 || hz.at(0).unicode() < 0x80 || !gb2312.holds(hz))
            continue;
        if (!codes[hz].contains(cols[1].trimmed()))
            codes[hz] << cols[1].trimmed();
    }
    for (QStringList& c : codes)
        std::stable_sort(c.begin(), c.end(), [](const QString& a, const QString& b) { return a.size() < b.size(); });
    return codes;
}

QString kindOf(const QString& code, const QStringList& codes) {
    return code == codes.last() ? QStringLiteral("全码") : drills::shortCodeName(int(code.size()));
}

} // namespace

class TstCodeLookupData : public QObject {
    Q_OBJECT

private slots:
    void everyCodeOfEveryCharacterWithAShortCode();
};

void TstCodeLookupData::everyCodeOfEveryCharacterWithAShortCode() {
    const QHash<QString, QStringList> dictionary = dictionaryCodes();
    QVERIFY2(dictionary.size() > 6000, WUBI86_DICT);
    controls::Focus focus;
    RecordingPictures pictures;
    drills::CodeLookup d(focus, QStringLiteral(VARDELO_BUILD_DATA_DIR), pictures);

    QStringList incomplete;
    int checked = 0;
    QHash<QString, QStringList> listed; // code -> "character kind" as its list gives them
    for (auto it = dictionary.constBegin(); it != dictionary.constEnd(); ++it) {
        const QString& hz = it.key();
        const QStringList& codes = it.value();
        if (codes.size() < 2)
            continue;
        ++checked;
        d.Edit30.setText(hz);
        const QList<drills::CharacterAnswer>& a = d.answer().characters;
        QStringList answered;
        if (a.size() == 1) {
            for (int level = 1; level <= 3; ++level)
                if (!a[0].shortCodes[level - 1].isEmpty())
                    answered << a[0].shortCodes[level - 1];
            answered << a[0].fullCode;
        }
        QStringList missing;
        if (answered != codes)
            missing << QStringLiteral("answer %1").arg(answered.join(' '));
        for (const QString& code : codes) {
            if (!listed.contains(code)) {
                d.Edit30.setText(code);
                QStringList gives;
                for (const drills::CodeAnswer& c : d.answer().codes)
                    for (const drills::Candidate& k : c.candidates)
                        if (k.code == code)
                            gives << k.text + ' ' + k.kind;
                listed.insert(code, gives);
            }
            if (!listed.value(code).contains(hz + ' ' + kindOf(code, codes)))
                missing << QStringLiteral("not listed under %1 as %2").arg(code, kindOf(code, codes));
        }
        if (!missing.isEmpty())
            incomplete << QStringLiteral("%1 (%2): %3").arg(hz, codes.join(' '), missing.join("; "));
    }
    qInfo("%d characters with a short code checked, %lld incomplete", checked, qlonglong(incomplete.size()));
    QVERIFY2(checked > 3900, qPrintable(QString::number(checked)));
    QVERIFY2(incomplete.isEmpty(), qPrintable(incomplete.mid(0, 20).join('\n')));
}

QTEST_GUILESS_MAIN(TstCodeLookupData)
#include "tst_code_lookup_data.moc"
