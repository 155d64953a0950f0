// The root drill's pictures as the program carries them, and the committed pictures and icons
// against the generator's checksum manifest.

#include "picture_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTextStream>

namespace {

// Picture groups of the root drill: keys in picture order and how many pictures each has.
const char groupKeys[] = "GFDSAHJKLMQWERTYUIOPNBVCX";
const int groupCounts[] = {5, 8, 11, 3, 8, 9, 7, 3, 10, 6, 12, 5, 11, 9, 8, 10, 10, 9, 5, 6, 11, 11, 6, 6, 6};

// Key letter and root label of every line of the generator's root table, in file order.
QList<QPair<QChar, QString>> rootTable() {
    QFile file(QStringLiteral(VARDELO_ROOTS_FILE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<QPair<QChar, QString>> rows;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().section(QLatin1Char('#'), 0, 0).trimmed();
        if (!line.isEmpty())
            rows.append({line[0], line.section(QLatin1Char('\t'), 1, 1)});
    }
    return rows;
}

// Dark pixels: ink of a black-on-white picture.
int inkPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return n;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void rootPicture_data();
    void rootPicture();
    void noPictureBeyondTheLast();
    void picturesHaveTheirSizes_data();
    void picturesHaveTheirSizes();
    void groupsHaveTheDrillsCounts();
    void committedFilesMatchTheManifest();
};

void TestPictures::rootPicture_data() {
    QTest::addColumn<int>("number");
    for (int n = 1; n <= 195; ++n)
        QTest::addRow("zigen%d", n) << n;
}

void TestPictures::rootPicture() {
    QFETCH(int, number);
    const QString path = assets::rootPictureResource(number);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QVERIFY(image.width() >= 35 && image.width() <= 40);
    QVERIFY(image.height() >= 35 && image.height() <= 41);
    // A root, not a blank or a smudge: some ink, on white that reaches every edge.
    QVERIFY(inkPixels(image) >= 8);
    for (int x = 0; x < image.width(); ++x) {
        QVERIFY(qGray(image.pixel(x, 0)) > 230);
        QVERIFY(qGray(image.pixel(x, image.height() - 1)) > 230);
    }
    for (int y = 0; y < image.height(); ++y) {
        QVERIFY(qGray(image.pixel(0, y)) > 230);
        QVERIFY(qGray(image.pixel(image.width() - 1, y)) > 230);
    }
    const QImage twice(QStringLiteral(":/pictures/zigen/zigen%1@2x.jpg").arg(number));
    QCOMPARE(twice.size(), image.size() * 2);
    QVERIFY(inkPixels(twice) >= 2 * inkPixels(image));
}

void TestPictures::noPictureBeyondTheLast() {
    QVERIFY(QFile::exists(QStringLiteral(":/pictures/zigen/zigen195.jpg")));
    QVERIFY(!QFile::exists(QStringLiteral(":/pictures/zigen/zigen196.jpg")));
    QVERIFY(!QFile::exists(QStringLiteral(":/pictures/zigen/zigen0.jpg")));
}

// The pictures are numbered key by key in the drill's key order, each key's roots in the
// order of the generator's table; the drill expects each group's key.
void TestPictures::groupsHaveTheDrillsCounts() {
    const auto rows = rootTable();
    QCOMPARE(rows.size(), 195);
    for (int g = 0; g < 25; ++g) {
        const QChar key = QLatin1Char(groupKeys[g]);
        int count = 0;
        for (const auto& row : rows)
            count += row.first == key ? 1 : 0;
        QVERIFY2(count == groupCounts[g], qPrintable(QStringLiteral("key %1 has %2 roots").arg(key).arg(count)));
    }
    QStringList g, s;
    for (const auto& row : rows) {
        if (row.first == QLatin1Char('G'))
            g << row.second;
        if (row.first == QLatin1Char('S'))
            s << row.second;
    }
    QCOMPARE(g, QStringList({"王", "龶", "一", "五", "戋"}));
    QCOMPARE(s, QStringList({"木", "丁", "西"}));
}

// The manifest lists every picture and icon the generator writes, with the checksum of the
// committed file; nothing else lies in their folders.
void TestPictures::committedFilesMatchTheManifest() {
    const QString dir = QStringLiteral(VARDELO_ASSETS_DIR);
    QFile manifest(dir + QStringLiteral("/manifest.sha256"));
    QVERIFY(manifest.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList listed;
    for (const QByteArray& line : manifest.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QByteArray hash = line.left(64);
        const QString rel = QString::fromUtf8(line.mid(66));
        QFile file(dir + QLatin1Char('/') + rel);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(rel));
        QCryptographicHash sha(QCryptographicHash::Sha256);
        sha.addData(&file);
        QVERIFY2(sha.result().toHex() == hash, qPrintable(rel + QStringLiteral(" differs from the manifest")));
        listed << rel;
    }
    QStringList present;
    for (const char* folder : {"pictures", "icons"}) {
        QDirIterator it(dir + QLatin1Char('/') + QLatin1String(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            present << QDir(dir).relativeFilePath(it.next());
    }
    present.sort();
    QCOMPARE(present, listed);
    QVERIFY(listed.size() >= 2 * 195);
    QVERIFY(listed.contains(QStringLiteral("icons/vardelo.svg")));
}

// The views lay the pictures out at the sizes of picture_files.h: the committed files must have
// them, and their doubles twice them.
void TestPictures::picturesHaveTheirSizes_data() {
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QSize>("size");
    for (const assets::PictureFile& file : assets::kPictureFiles)
        QTest::addRow("%s", file.file) << file.resource() << file.size();
    QTest::addRow("zigen1") << assets::rootPictureResource(1) << assets::kRootPictureSize;
}

void TestPictures::picturesHaveTheirSizes() {
    QFETCH(QString, resource);
    QFETCH(QSize, size);
    QCOMPARE(QImage(resource).size(), size);
    QString twice = resource;
    twice.insert(twice.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
    QCOMPARE(QImage(twice).size(), size * 2);
}

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
