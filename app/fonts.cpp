#include "fonts.h"

#include <QApplication>

namespace app::fonts {

namespace {
const QString kSong = QStringLiteral("宋体");
const QString kKai = QStringLiteral("楷体_GB2312");
const QString kSans = QStringLiteral("MS Sans Serif");
const QString kCode = QStringLiteral("DejaVu Sans Mono");

// The Song and Kai faces cover GB2312 and ASCII whole, which is all this program writes in them:
// they need no fallback faces, whose look-up costs start-up more than anything else it does.
QFont make(const QString& family, int pixelSize, bool bold, bool withFallback = false) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // Chinese needs no shaping and, at these sizes, no hinting; both are dear the first time a
    // large CJK face is used.
    auto strategy = QFont::PreferAntialias | QFont::PreferNoShaping;
    if (!withFallback)
        strategy |= QFont::NoFontMerging;
    f.setStyleStrategy(QFont::StyleStrategy(int(strategy)));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}
} // namespace

void install() {
    // UMing's and UKai's "CN" faces still draw Taiwan forms (匕 as 七, 差 and 骨 wrongly); the AR PL
    // GB faces draw the mainland forms, cover GB2312 whole and keep the one-em line height the
    // pages are laid out for. Noto Serif CJK SC draws the same forms but its lines are 1.45 em
    // high: the mnemonic verse and the drill memos would no longer fit their boxes.
    QFont::insertSubstitutions(kSong, {QStringLiteral("AR PL SungtiL GB")});
    QFont::insertSubstitutions(kKai, {QStringLiteral("AR PL KaitiM GB"), QStringLiteral("AR PL SungtiL GB")});
    // Latin text in a clean sans; Chinese in it falls back to the Song face, which the pages load
    // anyway (a sans CJK face would cost start-up another large font file).
    QFont::insertSubstitutions(kSans, {QStringLiteral("DejaVu Sans"), QStringLiteral("AR PL SungtiL GB")});
    // Without an explicit font, Chinese text under a C locale falls back to the Kai face.
    QApplication::setFont(sans(11));
}

QFont song(int pixelSize, bool bold) {
    return make(kSong, pixelSize, bold);
}
QFont songWithRoots(int pixelSize) {
    // Merging takes a missing character from the next family first; the line height stays the
    // Song face's.
    QFont f = make(kSong, pixelSize, false, true);
    f.setFamilies({kSong, QStringLiteral("Noto Serif CJK SC")});
    return f;
}
QFont kai(int pixelSize, bool bold) {
    return make(kKai, pixelSize, bold);
}
QFont sans(int pixelSize) {
    return make(kSans, pixelSize, false, true);
}
QFont code(int pixelSize, bool bold) {
    return make(kCode, pixelSize, bold);
}

} // namespace app::fonts
