// The window's faces as a learner sees them: mainland character forms in the Song and Kai faces,
// a wrong-character mark as wide as the right one, and codes whose l, 1 and I differ.

#include "fonts.h"
#include "glyph_forms.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTest>

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

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
