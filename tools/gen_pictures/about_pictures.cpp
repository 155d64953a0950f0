// The About page's four pictures and the program's icon.
//
// The icon is one set of shapes (a blue key cap with 五 on it) drawn both as PNG at every size
// a desktop asks for and as SVG, so the scalable icon and the bitmaps are the same drawing. The
// glyph is taken as an outline from a large, unhinted font so it scales without distortion.
// Textures come from a fixed integer hash, never from a random generator: the output must be
// the same on every run.

#include "about_pictures.h"
#include "fonts.h"
#include "output_files.h"
#include "picture_files.h"

#include "identity.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QTransform>
#include <QUrl>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const QString kKai = QStringLiteral("AR PL KaitiM GB");
const QString kSong = QStringLiteral("Noto Serif CJK SC");
const QString kSans = QStringLiteral("Noto Sans CJK SC");
const QString kCode = QStringLiteral("DejaVu Sans Mono"); // its l, 1 and I differ at a glance

QFont face(const QString& family, qreal pixelSize, bool bold = false) {
    QFont f(family);
    f.setPixelSize(int(pixelSize));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(
        QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    if (QFontInfo(f).family() != family)
        fail(QStringLiteral("asked for font %1, got %2").arg(family, QFontInfo(f).family()));
    return f;
}

// The outline of `text` in `family` at `pixelSize`, its baseline's left end at the origin,
// taken from a tenfold font so that no hinting bends it.
QPainterPath glyphs(const QString& family, qreal pixelSize, const QString& text, bool bold = false) {
    const QFont f = face(family, pixelSize * 10, bold);
    requireGlyphs(f, text);
    QPainterPath path;
    path.addText(0, 0, f, text);
    return QTransform::fromScale(0.1, 0.1).map(path);
}

// The same with its inked box centred on `centre`.
QPainterPath outline(const QString& family, qreal pixelSize, const QString& text, QPointF centre, bool bold = false) {
    const QPainterPath path = glyphs(family, pixelSize, text, bold);
    return path.translated(centre - path.boundingRect().center());
}

// Kai lettering set by the ink of each letter rather than the face's fixed Latin advance, so
// the name reads as written rather than typed; its inked box is centred on `centre`.
QPainterPath lettering(qreal pixelSize, const QString& text, QPointF centre) {
    QPainterPath all;
    qreal x = 0;
    for (char32_t c : text.toUcs4()) {
        if (c == U' ') {
            x += pixelSize * 0.3;
            continue;
        }
        const QPainterPath letter = glyphs(kKai, pixelSize, QString::fromUcs4(&c, 1));
        const QRectF ink = letter.boundingRect();
        all.addPath(letter.translated(x - ink.left(), 0));
        x += ink.width() + pixelSize * (c < 0x80 ? 0.07 : 0.04);
    }
    return all.translated(centre - all.boundingRect().center());
}

// Fills `path` as a broad brush held at a slant would: the shape swept along the nib, so
// strokes across the nib come out thick and strokes along it thin.
void brush(QPainter& p, const QPainterPath& path, const QColor& ink, qreal nib) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const int steps = 8;
    for (int i = 0; i <= steps; ++i) {
        const qreal t = nib * (qreal(i) / steps - 0.5);
        p.drawPath(path.translated(t * 0.64, -t * 0.77));
    }
}

// A value in 0…255 fixed by the pixel and the seed alone.
int noise(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return int((h ^ (h >> 16)) & 0xff);
}

QColor shifted(const QColor& c, int d) {
    return QColor(std::clamp(c.red() + d, 0, 255), std::clamp(c.green() + d, 0, 255), std::clamp(c.blue() + d, 0, 255));
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// A ground drawn pixel by pixel at the device resolution: `colour` gets the pixel and the
// picture's height in device pixels.
void ground(QPainter& p, QSizeF size, qreal scale, const std::function<QColor(int, int, int)>& colour) {
    QImage image((size * scale).toSize(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, colour(x, y, image.height()).rgb());
    p.drawImage(QRectF(QPointF(0, 0), size), image);
}

// ---- The icon ------------------------------------------------------------------------------

// One filled (and perhaps stroked) shape of the icon, in a 32-unit square.
struct Shape {
    QPainterPath path;
    QColor fill;
    QColor fillEnd; // valid: a vertical gradient from fill at gradientTop to fillEnd at gradientBottom
    qreal gradientTop = 0, gradientBottom = 0;
    QColor stroke; // valid: outlined with a pen of strokeWidth
    qreal strokeWidth = 0;
};

std::vector<Shape> emblem() {
    std::vector<Shape> shapes;
    Shape cap;
    cap.path.addRoundedRect(QRectF(1, 1.5, 30, 29.5), 6, 6);
    cap.fill = QColor(0x2c, 0x6c, 0xb8);
    cap.stroke = QColor(0x1d, 0x4f, 0x8c);
    cap.strokeWidth = 1;
    shapes.push_back(cap);

    Shape top;
    const QRectF faceRect(3, 2.5, 26, 24.5);
    top.path.addRoundedRect(faceRect, 4.5, 4.5);
    top.fill = QColor(0x6f, 0xa8, 0xe6);
    top.fillEnd = QColor(0x3a, 0x7f, 0xcc);
    top.gradientTop = 3;
    top.gradientBottom = 26;
    shapes.push_back(top);

    Shape glyph;
    glyph.path = outline(kSans, 19, QStringLiteral("五"), faceRect.center(), true);
    glyph.fill = Qt::white;
    shapes.push_back(glyph);
    return shapes;
}

void drawShapes(QPainter& p, const std::vector<Shape>& shapes) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (const Shape& s : shapes) {
        if (s.fillEnd.isValid()) {
            QLinearGradient g(0, s.gradientTop, 0, s.gradientBottom);
            g.setColorAt(0, s.fill);
            g.setColorAt(1, s.fillEnd);
            p.setBrush(g);
        } else {
            p.setBrush(s.fill);
        }
        p.setPen(s.stroke.isValid() ? QPen(s.stroke, s.strokeWidth) : QPen(Qt::NoPen));
        p.drawPath(s.path);
    }
    p.restore();
}

QString number(qreal v) {
    QString s = QString::number(v, 'f', 2);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    return s == QStringLiteral("-0") ? QStringLiteral("0") : s;
}

QString svgPath(const QPainterPath& path) {
    QString d;
    QPointF start, last;
    auto closeIfBack = [&] {
        if (!d.isEmpty() && last == start)
            d += QStringLiteral("Z");
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            closeIfBack();
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
            start = last = e;
            break;
        case QPainterPath::LineToElement:
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
            last = e;
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x), number(end.y));
            last = end;
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    closeIfBack();
    return d;
}

QByteArray svgText(const std::vector<Shape>& shapes) {
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 32 32\">\n";
    int gradients = 0;
    for (const Shape& s : shapes) {
        QString fill = s.fill.name();
        if (s.fillEnd.isValid()) {
            const QString id = QStringLiteral("g%1").arg(++gradients);
            out << "  <linearGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\""
                << number(s.gradientTop) << "\" x2=\"0\" y2=\"" << number(s.gradientBottom) << "\">"
                << "<stop offset=\"0\" stop-color=\"" << s.fill.name() << "\"/>"
                << "<stop offset=\"1\" stop-color=\"" << s.fillEnd.name() << "\"/></linearGradient>\n";
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        out << "  <path fill=\"" << fill << "\" fill-rule=\""
            << (s.path.fillRule() == Qt::WindingFill ? "nonzero" : "evenodd") << "\"";
        if (s.stroke.isValid())
            out << " stroke=\"" << s.stroke.name() << "\" stroke-width=\"" << number(s.strokeWidth) << "\"";
        out << " d=\"" << svgPath(s.path) << "\"/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return svg.toUtf8();
}

// ---- The About page's pictures -------------------------------------------------------------

// The project's name in brush lettering on rice paper, with a small red seal.
void drawName(QPainter& p, QSizeF size, qreal scale) {
    const QColor paper(0xf7, 0xf2, 0xe4);
    ground(p, size, scale, [&](int x, int y, int) {
        // Faint fibres running along the sheet.
        return shifted(paper, (noise(x / 3, y, 3) - 128) / 48 - (noise(x, y, 4) > 250 ? 10 : 0));
    });
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF seal(size.width() - 16, size.height() - 17, 13, 13);
    const qreal textRight = seal.left() - 3;
    // The largest lettering that fits beside the seal, leaning forward as a brush would write it.
    QPainterPath name;
    qreal px = 34;
    for (; px >= 14; px -= 1) {
        name = QTransform(1, 0, -0.14, 1, 0, 0).map(lettering(px, QStringLiteral("Vardelo"), QPointF(0, 0)));
        if (name.boundingRect().width() + px * 0.1 <= textRight - 5 &&
            name.boundingRect().height() <= size.height() - 8)
            break;
    }
    name.translate(QPointF(4 + (textRight - 4) / 2, size.height() / 2) - name.boundingRect().center());
    brush(p, name, QColor(0x16, 0x14, 0x12), px * 0.1);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc0, 0x28, 0x1e));
    p.drawRoundedRect(seal, 1.5, 1.5);
    p.setBrush(paper);
    p.drawPath(outline(kKai, 11, QStringLiteral("五"), seal.center()));
}

// The web address in white on a woven blue ground.
void drawAddress(QPainter& p, QSizeF size, qreal scale) {
    const QColor top(0x2f, 0x66, 0xbe), bottom(0x14, 0x3a, 0x7c);
    ground(p, size, scale, [&](int x, int y, int height) {
        const int d = int(scale);
        const int weave = ((x / d + y / d) % 4 == 0 ? 14 : 0) - ((x / d - y / d + 64) % 4 == 0 ? 8 : 0);
        return shifted(mix(top, bottom, qreal(y) / height), weave + (noise(x, y, 5) - 128) / 20);
    });
    const QString host = QUrl(QStringLiteral(VARDELO_HOMEPAGE)).host();
    if (host.isEmpty())
        fail(QStringLiteral("the homepage has no host name: %1").arg(QStringLiteral(VARDELO_HOMEPAGE)));
    QFont f;
    for (int px = 14; px >= 8; --px) {
        f = face(kCode, px, true);
        if (QFontMetricsF(f).horizontalAdvance(host) <= size.width() - 8)
            break;
    }
    requireGlyphs(f, host);
    p.setFont(f);
    const QRectF area(QPointF(0, 0), size);
    p.setPen(QColor(0x0a, 0x1c, 0x40));
    p.drawText(area.translated(0.8, 0.8), Qt::AlignCenter, host);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter, host);
}

// The site's name on a yellow ground.
void drawSiteName(QPainter& p, QSizeF size, qreal scale) {
    const QColor top(0xff, 0xe6, 0x70), bottom(0xf3, 0xbc, 0x00);
    ground(p, size, scale, [&](int x, int y, int height) {
        return shifted(mix(top, bottom, qreal(y) / height), (noise(x, y, 6) - 128) / 40);
    });
    p.setRenderHint(QPainter::Antialiasing);
    const QString name = QStringLiteral("Vardelo 五笔练习");
    QPainterPath text;
    qreal px = 20;
    for (; px >= 10; px -= 1) {
        text = lettering(px, name, QPointF(size.width() / 2, size.height() / 2));
        if (text.boundingRect().width() + px * 0.06 <= size.width() - 10)
            break;
    }
    brush(p, text, QColor(0x8a, 0x24, 0x00), px * 0.06);
    p.setPen(QPen(QColor(0xc8, 0x8a, 0x00), 1));
    p.drawLine(QPointF(0, size.height() - 0.5), QPointF(size.width(), size.height() - 0.5));
}

// The project has no single author: its "photograph" is the emblem on a portrait card.
void drawPortrait(QPainter& p, QSizeF size, qreal) {
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(0xe4, 0xee, 0xfb));
    sky.setColorAt(0.6, Qt::white);
    sky.setColorAt(1, QColor(0xdc, 0xe7, 0xf5));
    p.fillRect(QRectF(QPointF(0, 0), size), sky);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x86, 0xab, 0xd6), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(QPointF(0.5, 0.5), size - QSizeF(1, 1)));

    const qreal side = 80;
    p.save();
    p.translate((size.width() - side) / 2, 20);
    p.scale(side / 32, side / 32);
    drawShapes(p, emblem());
    p.restore();

    const QColor blue(0x23, 0x55, 0x92);
    brush(p, lettering(22, QStringLiteral("Vardelo"), QPointF(size.width() / 2, 120)), blue, 1.6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x5d, 0x6b));
    p.drawPath(outline(kSong, 12, QStringLiteral("五笔字型练习"), QPointF(size.width() / 2, 142)));
}

void drawIcon(QPainter& p) {
    drawShapes(p, emblem());
}

} // namespace

Outputs aboutOutputs() {
    Outputs outputs;
    const auto picture = [&](const assets::PictureFile& file, void (*draw)(QPainter&, QSizeF, qreal)) {
        // The grounds are drawn pixel by pixel, so they need the painter's device pixels per unit.
        const QSize size = file.size();
        outputs.push_back({file.path(), size, [size, draw](QPainter& p) { draw(p, size, p.worldTransform().m11()); }});
    };
    picture(assets::kMakerName, drawName);
    picture(assets::kPortrait, drawPortrait);
    picture(assets::kAddress, drawAddress);
    picture(assets::kSiteName, drawSiteName);
    // The window's icon, and the desktop's at every size it asks for; all one drawing.
    outputs.push_back({assets::kWindowIcon.path(), assets::kWindowIcon.size(), drawIcon});
    for (int px : {32, 64, 128, 256})
        outputs.push_back({QStringLiteral("icons/vardelo-%1.png").arg(px), QSize(32, 32), drawIcon, false, px / 32.0});
    outputs.push_back(
        {QStringLiteral("icons/vardelo.svg"), QSize(32, 32), nullptr, false, 1, [] { return svgText(emblem()); }});
    return outputs;
}
