// The window's faces as a learner sees them: mainland character forms in the Song and Kai faces,
// a wrong-character mark as wide as the right one, codes whose l, 1 and I differ, and the roots
// outside GB2312 drawn by the face the program carries.

#include "faces.h"
#include "fonts.h"
#include "gb2312.h"
#include "glyph_forms.h"
#include "mnemonic_drill.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

namespace {

QImage glyphImage(const QFont& f, const QString& text) {
    QImage image(f.pixelSize(), f.pixelSize() * 3 / 2, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter p(&image);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(QPoint(0, 0), image.size()), Qt::AlignCenter, text);
    p.end();
    return image;
}

int differingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 96 ? 1 : 0;
    return n;
}

} // namespace

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { app::fonts::install(); }
    void mainlandForms_data();
    void mainlandForms();
    void wrongMarkAsWideAsRightMark();
    void codeLettersDiffer_data();
    void codeLettersDiffer();
    void everyFaceInstalled();
    void missingFaceDrawnByMainlandStandIn();
    void rootsOutsideGb2312DrawnByCarriedFace();
};

void TestFonts::mainlandForms_data() {
    QTest::addColumn<QFont>("face");
    QTest::addRow("宋体") << app::fonts::song(16);
    QTest::addRow("楷体_GB2312") << app::fonts::kai(16);
}

void TestFonts::mainlandForms() {
    QFETCH(QFont, face);
    const glyph_forms::BiForm form = glyph_forms::measureBi(face);
    const QByteArray what = QStringLiteral("%1: vertical of 匕 at %2, of 七 at %3 of the width")
                                .arg(QFontInfo(face).family())
                                .arg(form.bi)
                                .arg(form.qi)
                                .toUtf8();
    QVERIFY2(form.measurable(), what.constData());
    QVERIFY2(form.mainland(), what.constData());
}

// The typing test marks each character with — or ×, each in a character's two byte columns: ×
// must fill its cell like —, not be a small Latin sign.
void TestFonts::wrongMarkAsWideAsRightMark() {
    const QFontMetricsF m(app::fonts::song(13));
    const qreal right = m.boundingRect(QStringLiteral("—")).width(),
                wrong = m.boundingRect(QStringLiteral("×")).width();
    QVERIFY2(wrong >= 0.6 * right, qPrintable(QStringLiteral("× %1 px, — %2 px").arg(wrong).arg(right)));
}

void TestFonts::codeLettersDiffer_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addRow("l 1") << "l"
                         << "1";
    QTest::addRow("l I") << "l"
                         << "I";
    QTest::addRow("1 I") << "1"
                         << "I";
}

// At the hint column's size, two signs a learner could confuse differ in a good many pixels.
void TestFonts::codeLettersDiffer() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    const QFont f = app::fonts::code(16);
    const int differ = differingPixels(glyphImage(f, a), glyphImage(f, b));
    QVERIFY2(differ >= 12, qPrintable(QStringLiteral("%1 pixels differ").arg(differ)));
}

// The set-up installs every face the window asks for: none is reported missing, and the Song and
// Kai faces are the ones asked for, not a stand-in.
void TestFonts::everyFaceInstalled() {
    const QStringList missing = app::fonts::install(app::fonts::standardFaces());
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
    for (const app::fonts::Face& face : app::fonts::standardFaces()) {
        const QFont asked(face.alias);
        QCOMPARE(QFontInfo(asked).family(), face.wanted);
    }
}

// A face removed from the system (or never packaged) is reported once, naming the face and its
// package, and its text is drawn whole in a stand-in that draws the mainland forms.
void TestFonts::missingFaceDrawnByMainlandStandIn() {
    std::vector<app::fonts::Face> faces = app::fonts::standardFaces();
    faces[0].wanted = QStringLiteral("Vardelo Absent Song");
    faces[1].wanted = QStringLiteral("Vardelo Absent Kai");
    const QStringList missing = app::fonts::install(faces);
    QCOMPARE(missing.size(), 2);
    QVERIFY2(missing[0].contains(faces[0].wanted) && missing[0].contains(faces[0].package), qPrintable(missing[0]));
    QVERIFY2(missing[1].contains(faces[1].wanted), qPrintable(missing[1]));

    const QString text = QStringLiteral("五笔字型键名字根，一级简码：一地在要工！");
    const std::pair<QFont, QStringList> drawn[] = {{app::fonts::song(16), faces[0].fallbacks},
                                                   {app::fonts::kai(16), faces[1].fallbacks}};
    for (const auto& [f, standIns] : drawn) {
        const QString family = QFontInfo(f).family();
        QVERIFY2(standIns.contains(family), qPrintable(family));
        const QFontMetrics m(f);
        for (const QChar c : text)
            QVERIFY2(m.inFont(c), qPrintable(QStringLiteral("%1 lacks %2").arg(family, c)));
        QVERIFY2(glyph_forms::measureBi(f).mainland(), qPrintable(family));
    }
    // The standard faces again, for whatever runs next.
    QVERIFY(app::fonts::install(app::fonts::standardFaces()).isEmpty());
}

// The verses write a few roots outside GB2312 (乂), which no face the package depends on holds: the
// program carries them in a face of its own, cut at build time. Every such character of the verses
// is among the glyphs cut, and the verse's font draws it with a real glyph of that face, whether or
// not the machine has the face it was cut from.
void TestFonts::rootsOutsideGb2312DrawnByCarriedFace() {
    gb2312::Checker gb;
    QString outside;
    for (int item = 1; item <= drills::MnemonicDrill::kItems; ++item)
        for (const QChar c : drills::MnemonicDrill::verse(item))
            if (c != QLatin1Char('\r') && !gb.holds(QString(c)) && !outside.contains(c))
                outside += c;
    QVERIFY2(outside.contains(QStringLiteral("乂")), qPrintable(outside));
    const QString carried = QString::fromUtf8(app::faces::kRootGlyphs);
    const QString root = QString::fromUtf8(app::faces::kRoot);
    QVERIFY2(QFontDatabase::families().contains(root), "the carried face is not loaded");

    for (const QChar c : outside) {
        QVERIFY2(carried.contains(c),
                 qPrintable(QStringLiteral("%1 is not among the carried glyphs %2").arg(c).arg(carried)));
        QTextLayout layout(QString(c), app::fonts::songWithRoots(56));
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        QCOMPARE(runs.size(), 1);
        QCOMPARE(runs[0].rawFont().familyName(), root);
        QVERIFY2(!runs[0].glyphIndexes().contains(0), qPrintable(QStringLiteral("%1 drawn as a box").arg(c)));
    }
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
