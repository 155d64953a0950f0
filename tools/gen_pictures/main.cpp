// Draws the trainer's pictures from the CJK fonts, each also at twice the size for high-density
// screens, into the assets folder with its manifest: the charts (charts.h), the root drill's
// pictures (root_pictures.h), the About page's pictures and the icons (about_pictures.h). The
// files and their sizes are those of assets/picture_files.h, which the views read too.
//
// Everything is drawn from Debian's font files with Qt's painter, so the pictures can be remade
// on any machine with the same fonts. A root without a code point of its own is cut from the
// glyph of a host character that contains it (see data/roots.txt). Font fallback is switched off
// and every character is checked against the font it is drawn with: a missing glyph stops the
// run instead of leaving an empty box in a picture a learner studies from. Before anything is
// written, the faces, the roots and the cuts are checked (fonts.h, verification.h).
//
// Aids for a reviewer and for working on the cut shapes, not used by the program (sheets.h):
//   --contact FILE.png   the root drill's pictures in the drill's order, with number and key
//   --review FILE.png    every root of every key at 1x on the charts and enlarged, with its line
//                        of data, and every cut root beside its host with the shapes marked
//   gen_pictures --data DIR --zoom 皮头,虍 --sheet zoom.png   cut roots or hosts on a fine grid

#include "about_pictures.h"
#include "charts.h"
#include "data.h"
#include "fonts.h"
#include "output_files.h"
#include "root_pictures.h"
#include "sheets.h"
#include "verification.h"

#include <QFile>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <memory>

namespace {

struct Options {
    QString data, out, sheet, zoom, dict, contact, review, verify;
};

Options parseOptions(const QStringList& args) {
    Options o;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        QString* value = args[i] == QStringLiteral("--data")      ? &o.data
                         : args[i] == QStringLiteral("--out")     ? &o.out
                         : args[i] == QStringLiteral("--sheet")   ? &o.sheet
                         : args[i] == QStringLiteral("--zoom")    ? &o.zoom
                         : args[i] == QStringLiteral("--dict")    ? &o.dict
                         : args[i] == QStringLiteral("--contact") ? &o.contact
                         : args[i] == QStringLiteral("--review")  ? &o.review
                         : args[i] == QStringLiteral("--verify")  ? &o.verify
                                                                  : nullptr;
        if (!value)
            fail(QStringLiteral("unknown option %1").arg(args[i]));
        *value = args[i + 1];
    }
    if (args.size() % 2 == 0 || ((o.data.isEmpty() || o.dict.isEmpty()) && o.zoom.isEmpty()))
        fail(QStringLiteral("usage: gen_pictures --data DIR --dict WUBI86.dict.yaml [--out DIR [--verify DIR]]\n"
                            "                    [--contact FILE.png] [--review FILE.png]\n"
                            "       gen_pictures [--data DIR] --zoom ROOT,ROOT,... --sheet FILE.png"));
    if (!o.zoom.isEmpty() && o.sheet.isEmpty())
        fail(QStringLiteral("--zoom needs --sheet FILE.png to write to"));
    if (!o.verify.isEmpty() && o.out.isEmpty())
        fail(QStringLiteral("--verify needs --out DIR to render into"));
    return o;
}

void zoom(const Options& o) {
    std::unique_ptr<Data> data;
    if (!o.data.isEmpty())
        data = std::make_unique<Data>(loadData(o.data));
    writeZoomSheet(data.get(), o.zoom.split(QLatin1Char(','), Qt::SkipEmptyParts), o.sheet);
}

const char kFontRecordFile[] = "fonts.sha256";
// What CTest counts as a skipped test.
const int kSkipped = 77;

void writeFontRecord(const QString& folder) {
    QFile f(QStringLiteral("%1/%2").arg(folder, QLatin1String(kFontRecordFile)));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(fontRecord().toUtf8()) < 0)
        fail(QStringLiteral("cannot write %1").arg(f.fileName()));
}

QString readFontRecord(const QString& folder) {
    QFile f(QStringLiteral("%1/%2").arg(folder, QLatin1String(kFontRecordFile)));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const Options o = parseOptions(app.arguments());
    loadFonts();
    if (!o.zoom.isEmpty()) {
        zoom(o);
        return 0;
    }

    const Data data = loadData(o.data);
    checkDictionary(data, o.dict);
    checkCutsLeaveNoSpecks(data);
    const std::vector<RootPicture> pictures = rootPictures(data);
    const std::vector<int> drillOrder = loadDrillOrder(o.data, pictures);

    Outputs outputs = chartOutputs(data);
    for (Outputs more : {rootPictureOutputs(pictures), aboutOutputs()})
        for (Output& out : more)
            outputs.push_back(std::move(out));

    if (!o.out.isEmpty()) {
        writeOutputs(outputs, o.out);
        writeFontRecord(o.out);
    }
    if (!o.contact.isEmpty())
        writeContactSheet(pictures, drillOrder, o.contact);
    if (!o.review.isEmpty())
        writeReviewSheet(data, o.review);
    if (!o.verify.isEmpty()) {
        // Another release's fonts draw other outlines: compared with them, the pictures would
        // measure the fonts, not the generator. The comparison means something only where the
        // font files are those the committed pictures were drawn from.
        const QString drawnFrom = readFontRecord(o.verify), here = fontRecord();
        if (drawnFrom != here) {
            std::printf("SKIPPED: the pictures in %s were drawn from other font files than this machine has, so "
                        "comparing them would measure the fonts; they are compared where the fonts are those "
                        "recorded in %s.\ndrawn from:\n%shere:\n%s",
                        qPrintable(o.verify), kFontRecordFile, qPrintable(drawnFrom), qPrintable(here));
            return kSkipped;
        }
        if (!sameOutputs(outputs, o.verify, o.out))
            fail(QStringLiteral("the files in %1 are not what the generator makes now: run the `pictures` target")
                     .arg(o.verify));
        std::printf("the pictures and icons in %s are up to date\n", qPrintable(o.verify));
    }
    return 0;
}
