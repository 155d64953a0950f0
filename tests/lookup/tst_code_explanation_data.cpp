// The explanations on the real tables, proven against the dictionary itself: every full code in
// cf.db is the dictionary's, every split gives it by the rules, and the phrase rule gives the code
// of every phrase the drills ask for; and held to a teacher's splits written by hand, since a split
// can give the right code with the wrong roots. Prints how many drilled characters have a split and
// which have none.

#include "code_explainer.h"
#include "code_explanation.h"
#include "gb2312.h"
#include "table.h"
#include "table_rows.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

using namespace drills;

namespace {

const QString kData = QStringLiteral(VARDELO_BUILD_DATA_DIR);

// Each character's longest codes in the dictionary (a few have two of the same length).
QHash<QString, QStringList> fullCodes() {
    QFile f(QStringLiteral(WUBI86_DICT));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QHash<QString, QStringList> out;
    bool rows = false;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line == QLatin1String("...")) {
            rows = true;
            continue;
        }
        const QStringList c = line.split(QLatin1Char('\t'));
        if (!rows || line.startsWith(QLatin1Char('#')) || c.size() < 2 || c[0].size() != 1 ||
            c[1].startsWith(QLatin1Char('z')))
            continue;
        QStringList& codes = out[c[0]];
        if (codes.isEmpty() || c[1].size() > codes.first().size())
            codes = QStringList{c[1]};
        else if (c[1].size() == codes.first().size())
            codes << c[1];
    }
    return out;
}

// The root pictures' numbers by the roots' names: roots.txt key by key in the charts' key order, in
// file order within a key.
QHash<QString, int> pictureNumbers() {
    QFile f(QStringLiteral(ROOTS_TXT));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QHash<QString, QStringList> byKey;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QStringList c = line.split(QLatin1Char('\t'));
        if (!line.startsWith(QLatin1Char('#')) && c.size() >= 2)
            byKey[c[0]] << c[1];
    }
    QHash<QString, int> out;
    for (QChar key : QStringLiteral("GFDSAHJKLMQWERTYUIOPNBVCX")) {
        for (const QString& name : byKey.value(QString(key)))
            out.insert(name, int(out.size()) + 1);
    }
    return out;
}

} // namespace

class TstCodeExplanationData : public QObject {
    Q_OBJECT
private slots:
    void everySplitGivesTheDictionaryCode();
    void coverageOfTheDrilledCharacters();
    void coverageOfThePassagesAndGb2312();
    void phraseRuleGivesEveryDrilledPhrase();
    void splitsAreTheTeachersSplits();
    void exceptionsSayWhichRuleTheyBreak();

private:
    QHash<QString, QStringList> m_codes = fullCodes();
};

void TstCodeExplanationData::everySplitGivesTheDictionaryCode() {
    QVERIFY(!m_codes.isEmpty());
    const QStringList rows =
        tableTexts(kData + QStringLiteral("/cf.db"), QStringLiteral("SELECT hz, dm, cf FROM cf ORDER BY id"));
    QStringList errors;
    int splits = 0;
    lexicon::Table cf(QStringLiteral("Table5"));
    cf.open(kData, QStringLiteral("cf.db"));
    for (const QString& hz : m_codes.keys()) {
        if (!cf.locate(QStringLiteral("hz"), hz))
            continue; // not GB2312
        const QString dm = cf.read(QStringLiteral("dm"));
        if (!m_codes[hz].contains(dm))
            errors << QStringLiteral("%1: full code %2, dictionary %3").arg(hz, dm, m_codes[hz].join(QLatin1Char('/')));
        const QString field = cf.read(QStringLiteral("cf"));
        if (field.isEmpty())
            continue;
        ++splits;
        const std::optional<Split> split = parseSplit(field);
        if (!split)
            errors << QStringLiteral("%1: split not understood: %2").arg(hz, field);
        else if (!explains(*split, dm))
            errors << QStringLiteral("%1: split %2 gives %3, not %4").arg(hz, field, codeOf(*split), dm);
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
    QVERIFY(splits > 0);
    QVERIFY(!rows.isEmpty());
}

void TstCodeExplanationData::coverageOfTheDrilledCharacters() {
    QStringList texts = tableTexts(kData + QStringLiteral("/zk.db"), QStringLiteral("SELECT * FROM zk ORDER BY id"));
    texts += tableTexts(kData + QStringLiteral("/czzk.db"),
                        QStringLiteral("SELECT n2, n3, n4, n5, n6 FROM czzk ORDER BY id"));
    QStringList drilled;
    QSet<QString> seen;
    for (const QString& t : texts) {
        for (QChar c : t) {
            if (c.unicode() >= 0x80 && !seen.contains(c)) {
                seen.insert(c);
                drilled << QString(c);
            }
        }
    }
    lexicon::Table cf(QStringLiteral("Table5"));
    cf.open(kData, QStringLiteral("cf.db"));
    QStringList left;
    for (const QString& hz : drilled) {
        QVERIFY2(cf.locate(QStringLiteral("hz"), hz), qPrintable(hz));
        if (cf.read(QStringLiteral("cf")).isEmpty())
            left << hz;
    }
    const qsizetype covered = drilled.size() - left.size();
    qInfo("splits: %lld of %lld drilled characters (%.1f%%); without a split: %s", qlonglong(covered),
          qlonglong(drilled.size()), 100.0 * double(covered) / double(drilled.size()),
          qPrintable(left.join(QLatin1Char(' '))));
    QVERIFY(drilled.size() > 1000);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

// Every character of the six passages and every one of GB2312's 6,763 characters has an
// explanation (an exception counts: it is explained as one).
void TstCodeExplanationData::coverageOfThePassagesAndGb2312() {
    QString passages;
    for (int n = 1; n <= 6; ++n) {
        QFile f(QStringLiteral(PASSAGES_DIR "/test%1.txt").arg(n));
        QVERIFY(f.open(QIODevice::ReadOnly));
        passages += QString::fromUtf8(f.readAll());
    }
    const QList<QStringList> rows =
        tableRows(kData + QStringLiteral("/cf.db"), QStringLiteral("SELECT hz, cf FROM cf"));
    QSet<QString> explained;
    for (const QStringList& r : rows) {
        if (!r.value(1).isEmpty())
            explained.insert(r.value(0));
    }
    QStringList left;
    for (QChar c : passages) {
        if (c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff && !explained.contains(QString(c)) && !left.contains(c))
            left << QString(c);
    }
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
    int gb = 0;
    int covered = 0;
    for (int hi = 0xb0; hi <= 0xf7; ++hi) {
        for (int lo = 0xa1; lo <= 0xfe; ++lo) {
            if (!gb2312::isCell(static_cast<unsigned char>(hi), static_cast<unsigned char>(lo)))
                continue;
            const char bytes[] = {char(hi), char(lo)};
            const QString c = QStringDecoder("GBK").decode(QByteArrayView(bytes, 2));
            ++gb;
            covered += explained.contains(c) ? 1 : 0;
        }
    }
    qInfo("GB2312: %d of %d characters explained (%.1f%%)", covered, gb, 100.0 * covered / gb);
    QCOMPARE(gb, 6763);
    QCOMPARE(covered, gb);
}

void TstCodeExplanationData::phraseRuleGivesEveryDrilledPhrase() {
    const QStringList phrases = tableTexts(kData + QStringLiteral("/czzk.db"),
                                           QStringLiteral("SELECT n2, n3, n4, n5, n6 FROM czzk ORDER BY id"));
    QVERIFY(phrases.size() > 100);
    lexicon::Table cf(QStringLiteral("Table5"));
    lexicon::Table czwb(QStringLiteral("Table3"));
    cf.open(kData, QStringLiteral("cf.db"));
    czwb.open(kData, QStringLiteral("czwb.db"));
    QStringList errors;
    for (const QString& phrase : phrases) {
        if (phrase.size() < 2 || !czwb.locate(QStringLiteral("n2"), phrase))
            continue;
        QStringList codes;
        for (QChar c : phrase)
            codes << (cf.locate(QStringLiteral("hz"), QString(c)) ? cf.read(QStringLiteral("dm")) : QString());
        const QString code = phraseLetters(codes).join(QString());
        if (code != czwb.read(QStringLiteral("n1")))
            errors << QStringLiteral("%1: rule %2, table %3").arg(phrase, code, czwb.read(QStringLiteral("n1")));
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
}

// Each character of the teacher's list has a split in cf.db, and its roots are the teacher's, one
// by one: a root shown as text is that text, a root drawn from a picture is that root's picture.
void TstCodeExplanationData::splitsAreTheTeachersSplits() {
    const QHash<QString, int> pictures = pictureNumbers();
    QCOMPARE(pictures.size(), 195);
    QFile f(QStringLiteral(TEACHER_SPLITS));
    QVERIFY(f.open(QIODevice::ReadOnly));
    lexicon::Table cf(QStringLiteral("Table5"));
    cf.open(kData, QStringLiteral("cf.db"));
    QStringList errors;
    int listed = 0;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QStringList c = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('#')) || c.size() < 3)
            continue;
        ++listed;
        const QStringList want = c[1].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& name : want)
            QVERIFY2(pictures.contains(name), qPrintable(line));
        const std::optional<Split> split =
            cf.locate(QStringLiteral("hz"), c[0]) ? parseSplit(cf.read(QStringLiteral("cf"))) : std::nullopt;
        if (!split) {
            errors << c[0] + QStringLiteral(": no split");
            continue;
        }
        bool same = split->roots.size() == want.size();
        for (qsizetype i = 0; same && i < want.size(); ++i) {
            const SplitRoot& r = split->roots[i];
            same = r.text == want[i] || (r.picture > 0 && r.picture == pictures.value(want[i]));
        }
        if (!same) {
            QStringList got;
            for (const SplitRoot& r : split->roots)
                got << (r.text.isEmpty() ? QStringLiteral("#%1").arg(r.picture) : r.text);
            errors << QStringLiteral("%1: %2, the teacher's %3").arg(c[0], got.join(QLatin1Char(' ')), c[1]);
        }
    }
    QVERIFY(listed >= 300);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
}

// Every exception in cf.db names the rule its code breaks, and every phrase of czwb.db whose code
// the phrase rule does not give (狐狸 qrqj, 版权所有 bqsy) is explained as the exception it is,
// with the code the rule would give.
void TstCodeExplanationData::exceptionsSayWhichRuleTheyBreak() {
    QStringList errors;
    int exceptions = 0;
    for (const QStringList& r :
         tableRows(kData + QStringLiteral("/cf.db"), QStringLiteral("SELECT hz, cf FROM cf WHERE cf <> ''"))) {
        const std::optional<Split> split = parseSplit(r.value(1));
        if (split && split->exception) {
            ++exceptions;
            if (split->exceptionRule == 0)
                errors << r.value(0) + QStringLiteral(": an exception that names no rule");
        }
    }
    QVERIFY(exceptions > 0);
    QHash<QString, QString> full; // as the explainer reads them
    for (const QStringList& r : tableRows(kData + QStringLiteral("/cf.db"), QStringLiteral("SELECT hz, dm FROM cf")))
        full.insert(r.value(0), r.value(1));
    CodeExplainer explainer(kData);
    QStringList breaking;
    for (const QStringList& r :
         tableRows(kData + QStringLiteral("/czwb.db"), QStringLiteral("SELECT n2, n1 FROM czwb"))) {
        const QString phrase = r.value(0);
        QStringList codes;
        for (QChar c : phrase)
            codes << full.value(QString(c));
        const QString rule = phraseCode(codes);
        if (rule.isEmpty() || rule == r.value(1))
            continue;
        breaking << phrase + QLatin1Char(' ') + r.value(1);
        const Explanation e = explainer.phrase(phrase, r.value(1));
        if (e.cells.isEmpty() || e.cells.last().top != QStringLiteral("词组例外") ||
            e.cells.last().letters != r.value(1) || !e.text.contains(rule))
            errors << phrase + QStringLiteral(": not explained as an exception");
    }
    qInfo("%d character exceptions; %lld phrases break the phrase rule: %s", exceptions, qlonglong(breaking.size()),
          qPrintable(breaking.join(QStringLiteral(", "))));
    QVERIFY(breaking.contains(QStringLiteral("版权所有 bqsy")));
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TstCodeExplanationData)
#include "tst_code_explanation_data.moc"
