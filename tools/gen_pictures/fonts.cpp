#include "fonts.h"

#include "glyph_forms.h"
#include "output_files.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

namespace {

struct FontFile {
    const char* path;
    const char* family;
};

// Song for roots and running text, Kai for key names and titles, the sans face for letters,
// digits and for the few roots the Song face lacks. All draw the mainland standard forms that
// Wubi 86 is defined on (checked by checkMainlandForms).
const FontFile fontFiles[] = {
    {"/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc", "Noto Serif CJK SC"},
    {"/usr/share/fonts/truetype/arphic-gkai00mp/gkai00mp.ttf", "AR PL KaitiM GB"},
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", "Noto Sans CJK SC"},
    {"/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc", "Noto Sans CJK SC"},
    // key letters and the About page's address: Q keeps its tail at 10 pixels, and l, 1, I and
    // O, 0 differ at a glance
    {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf", "DejaVu Sans Mono"},
};

// A Taiwan-form face draws 匕 like 七 (glyph_forms.h says how that is told).
void checkMainlandForms(const QFont& f) {
    const glyph_forms::BiForm form = glyph_forms::measureBi(f);
    if (!form.measurable())
        fail(QStringLiteral("cannot tell the form of 匕 in %1: the vertical of 七 stands at %2 of its width")
                 .arg(f.family())
                 .arg(form.qi, 0, 'f', 2));
    if (!form.mainland())
        fail(QStringLiteral("%1 draws 匕 like 七 (its vertical at %2 of its width, 七's at %3): not the mainland form")
                 .arg(f.family())
                 .arg(form.bi, 0, 'f', 2)
                 .arg(form.qi, 0, 'f', 2));
}

} // namespace

void loadFonts() {
    for (const FontFile& file : fontFiles) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file.path));
        if (id < 0)
            fail(QStringLiteral("cannot load font file %1").arg(QString::fromLatin1(file.path)));
        if (!QFontDatabase::applicationFontFamilies(id).contains(QString::fromLatin1(file.family)))
            fail(QStringLiteral("%1 does not provide %2")
                     .arg(QString::fromLatin1(file.path), QString::fromLatin1(file.family)));
    }
    for (Face face : {Face::Song, Face::Kai, Face::Sans})
        checkMainlandForms(font(face, 20));
}

QFont font(Face face, int pixelSize) {
    const char* family = face == Face::Song     ? fontFiles[0].family
                         : face == Face::Kai    ? fontFiles[1].family
                         : face == Face::Letter ? fontFiles[4].family
                                                : fontFiles[2].family;
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixelSize);
    f.setWeight(face == Face::SansBold || face == Face::Letter ? QFont::Bold : QFont::Normal);
    // No silent substitution: what a font lacks must be noticed, not patched from elsewhere.
    // Hinting and anti-aliasing are fixed here rather than left to the machine's font settings,
    // so that the pictures come out the same wherever they are rendered.
    f.setHintingPreference(QFont::PreferVerticalHinting);
    f.setStyleStrategy(
        QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    const QString got = QFontInfo(f).family();
    if (got != QString::fromLatin1(family))
        fail(QStringLiteral("asked for font %1, got %2").arg(QString::fromLatin1(family), got));
    return f;
}

bool covers(const QFont& f, char32_t codePoint) {
    return QFontMetricsF(f).inFontUcs4(codePoint);
}

void requireGlyphs(const QFont& f, const QString& text) {
    for (char32_t c : text.toUcs4()) {
        if (c == U' ' || c == U'\n')
            continue;
        if (!covers(f, c))
            fail(QStringLiteral("font %1 has no glyph for %2 (U+%3) in \"%4\"")
                     .arg(f.family(), QString::fromUcs4(&c, 1))
                     .arg(uint(c), 4, 16, QLatin1Char('0'))
                     .arg(text));
    }
}

QString fontRecord() {
    QString record;
    for (const FontFile& file : fontFiles) {
        QFile f(QString::fromLatin1(file.path));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f))
            fail(QStringLiteral("cannot read font file %1").arg(f.fileName()));
        record += QStringLiteral("%1  %2\n").arg(QString::fromLatin1(hash.result().toHex()), f.fileName());
    }
    return record;
}
