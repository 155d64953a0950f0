#include "fonts.h"

#include <QApplication>

namespace app::fonts {

namespace {
const QString kSong = QStringLiteral("宋体");
const QString kKai = QStringLiteral("楷体_GB2312");
const QString kSans = QStringLiteral("MS Sans Serif");

QFont make(const QString& family, int pixelSize, bool bold) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}
} // namespace

void install() {
    QFont::insertSubstitutions(kSong, {QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitutions(kKai, {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UMing CN")});
    // Latin text in a clean sans; Chinese in it falls back to the Song face, which the pages load
    // anyway (a sans CJK face would cost start-up another large font file).
    QFont::insertSubstitutions(kSans, {QStringLiteral("DejaVu Sans"), QStringLiteral("AR PL UMing CN")});
    // Without an explicit font, Chinese text under a C locale falls back to the Kai face.
    QApplication::setFont(sans(11));
}

QFont song(int pixelSize, bool bold) {
    return make(kSong, pixelSize, bold);
}
QFont kai(int pixelSize, bool bold) {
    return make(kKai, pixelSize, bold);
}
QFont sans(int pixelSize) {
    return make(kSans, pixelSize, false);
}

} // namespace app::fonts
