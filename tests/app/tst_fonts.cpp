// The window's faces as a learner sees them: mainland character forms in the Song and Kai faces,
// a wrong-character mark as wide as the right one, and codes whose l, 1 and I differ.

#include "fonts.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTest>

namespace {

// Where the longest vertical stroke of `character` stands, as a fraction of its inked width.
// In the mainland 匕 the 丿 only meets the vertical, which stands at the left edge; a Taiwan-form
// face crosses the vertical with it, as 七 does, and the vertical stands well inside.
qreal verticalStrokeAt(QFont f, const QString& character) {
    f.setPixelSize(200);
    QPainterPath path;
    path.addText(0, 0, f, character);
    const QRectF ink = path.boundingRect();
    QImage image(ink.size().toSize() + QSize(4, 4), QImage::Format_Grayscale8);
    image.fill(0);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(QPointF(2, 2) - ink.topLeft());
    p.fillPath(path, Qt::white);
    p.end();
    int longest = 0, at = 0;
    for (int x = 0; x < image.width(); ++x) {
        int run = 0;
        for (int y = 0; y < image.height(); ++y) {
            run = image.constScanLine(y)[x] > 128 ? run + 1 : 0;
            if (run > longest) {
                longest = run;
                at = x;
            }
        }
    }
    return (at - 2) / ink.width();
}

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
};

void TestFonts::mainlandForms_data() {
    QTest::addColumn<QFont>("face");
    QTest::addRow("宋体") << app::fonts::song(16);
    QTest::addRow("楷体_GB2312") << app::fonts::kai(16);
}

void TestFonts::mainlandForms() {
    QFETCH(QFont, face);
    const qreal bi = verticalStrokeAt(face, QStringLiteral("匕")), qi = verticalStrokeAt(face, QStringLiteral("七"));
    const QByteArray what = QStringLiteral("%1: vertical of 匕 at %2, of 七 at %3 of the width")
                                .arg(QFontInfo(face).family())
                                .arg(bi)
                                .arg(qi)
                                .toUtf8();
    QVERIFY2(qi > 0.3, what.constData()); // the measure works in this face
    QVERIFY2(bi < 0.18, what.constData());
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

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
