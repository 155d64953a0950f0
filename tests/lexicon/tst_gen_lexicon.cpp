// The lexicon generator gives the same bytes for the same inputs, and those are the bytes the
// build put into the data folder.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kOutputs = {QStringLiteral("wb.db"),   QStringLiteral("jm.db"),         QStringLiteral("zk.db"),
                              QStringLiteral("czwb.db"), QStringLiteral("czzk.db"),       QStringLiteral("cf.db"),
                              QStringLiteral("bm.db"),   QStringLiteral("COPYING.wubi86")};

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstGenLexicon : public QObject {
    Q_OBJECT

private slots:
    void sameInputSameBytes();
};

void TstGenLexicon::sameInputSameBytes() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& run : {QStringLiteral("a"), QStringLiteral("b")}) {
        QProcess gen;
        gen.start(QStringLiteral(GEN_LEXICON),
                  {QStringLiteral(WUBI86_DICT), QStringLiteral(GEN_LEXICON_LISTS), dir.filePath(run)});
        QVERIFY(gen.waitForFinished(300000));
        QVERIFY2(gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0,
                 gen.readAllStandardError().constData());
    }
    for (const QString& name : kOutputs) {
        const QByteArray a = contents(dir.filePath(QStringLiteral("a/") + name));
        QVERIFY2(!a.isEmpty(), qPrintable(name));
        QVERIFY2(a == contents(dir.filePath(QStringLiteral("b/") + name)), qPrintable(name + " differs between runs"));
        QVERIFY2(a == contents(QStringLiteral(VARDELO_BUILD_DATA_DIR "/") + name),
                 qPrintable(name + " differs from the data folder of the build"));
    }
    // Nothing but the outputs is left behind (no half-written temporary files).
    QCOMPARE(QDir(dir.filePath(QStringLiteral("a"))).entryList(QDir::Files | QDir::Hidden).size(), kOutputs.size());
}

QTEST_GUILESS_MAIN(TstGenLexicon)
#include "tst_gen_lexicon.moc"
