#include "fonts.h"

#include "faces.h"

#include <QApplication>
#include <QFontDatabase>

#include <cstdio>

namespace app::fonts {

namespace {
const QString kSong = QStringLiteral("宋体");
const QString kKai = QStringLiteral("楷体_GB2312");
const QString kSans = QStringLiteral("MS Sans Serif");

// The code face and the face of the roots outside GB2312 have no name in the layout of their own:
// these stand for them as 宋体 stands for the Song face.
const QString kCode = QStringLiteral("Vardelo Code");
const QString kRoot = QStringLiteral("Vardelo Roots");
// What the root face is drawn with: merging takes a missing character from a real face only.
QString g_root = QString::fromUtf8(faces::kRoot);
// Set once a face is missing: then the faces borrow glyphs from each other and from the system.
bool g_merge = false;

// The Song and Kai faces cover GB2312 and ASCII whole, which is all this program writes in them:
// they need no fallback faces, whose look-up costs start-up more than anything else it does.
QFont make(const QString& family, int pixelSize, bool bold, bool withFallback = false) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // Chinese needs no shaping and, at these sizes, no hinting; both are dear the first time a
    // large CJK face is used.
    auto strategy = QFont::PreferAntialias | QFont::PreferNoShaping;
    if (!withFallback && !g_merge)
        strategy |= QFont::NoFontMerging;
    f.setStyleStrategy(QFont::StyleStrategy(int(strategy)));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// Sizes at which the Song face is drawn with its hinting: the passage's, the typed lines', the
// options'.
constexpr int kHintedUpTo = 14;

// Chinese faces that may stand in for a missing one: mainland forms first (Noto CJK SC, the AR PL
// GB faces, Source Han SC, WenQuanYi), then whatever else draws GB2312.
const QStringList kChineseFallbacks = {
    QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),    QStringLiteral("AR PL SungtiL GB"),
    QStringLiteral("AR PL KaitiM GB"),   QStringLiteral("Source Han Serif SC"), QStringLiteral("Source Han Sans SC"),
    QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Droid Sans Fallback"),
    QStringLiteral("AR PL UMing CN"),    QStringLiteral("AR PL UKai CN"),
};

// The root glyphs outside GB2312, which the program carries as a face of its own: loaded once,
// before the installed faces are looked at. Should it fail, the face is reported missing.
void loadOwnFaces() {
    static bool loaded = false;
    if (!loaded)
        QFontDatabase::addApplicationFont(QString::fromUtf8(faces::kRootResource));
    loaded = true;
}

QStringList without(QStringList list, const QString& face) {
    list.removeAll(face);
    return list;
}
} // namespace

std::vector<Face> standardFaces() {
    const QString song = QString::fromUtf8(faces::kSong), kai = QString::fromUtf8(faces::kKai);
    return {
        {kSong, song, QString::fromUtf8(faces::kSongPackage), without(kChineseFallbacks, song), kSong},
        {kKai, kai, QString::fromUtf8(faces::kKaiPackage),
         QStringList{song} + without(without(kChineseFallbacks, kai), song), QStringLiteral("楷体")},
        {kSans, QString::fromUtf8(faces::kSans), QString::fromUtf8(faces::kSansPackage),
         QStringList{QStringLiteral("Noto Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("FreeSans")},
         QStringLiteral("无衬线体")},
        {kCode,
         QString::fromUtf8(faces::kCode),
         QString::fromUtf8(faces::kCodePackage),
         {QStringLiteral("Noto Sans Mono"), QStringLiteral("Liberation Mono"), QStringLiteral("FreeMono")},
         QStringLiteral("编码字体")},
        // Carried in the program: no package holds it.
        {kRoot, QString::fromUtf8(faces::kRoot), QString(), kChineseFallbacks, QStringLiteral("字根字体")},
    };
}

QStringList install(const std::vector<Face>& faces) {
    loadOwnFaces();
    QStringList missing;
    g_merge = false;
    // One look at the installed families; asking for each face by name would also resolve it
    // as a font alias, which costs start-up more than the list.
    const QStringList installed = QFontDatabase::families();
    const auto has = [&installed](const QString& family) { return installed.contains(family, Qt::CaseInsensitive); };
    // What the Song face is drawn with in the end: the sans face's Chinese falls back to it.
    QString songDrawn;
    for (const Face& face : faces) {
        QString chosen = face.wanted;
        if (!has(face.wanted)) {
            g_merge = true;
            chosen.clear();
            for (const QString& f : face.fallbacks)
                if (has(f)) {
                    chosen = f;
                    break;
                }
            const QString lead =
                face.package.isEmpty()
                    ? QStringLiteral("vardelo: 程序自带的字体“%1”未能载入，").arg(face.wanted)
                    : QStringLiteral("vardelo: 未安装字体“%1”（Debian 软件包 %2），").arg(face.wanted, face.package);
            missing << lead + (chosen.isEmpty()
                                   ? QStringLiteral("%1没有可替代的字体，缺字由系统字体补出").arg(face.roleName)
                                   : QStringLiteral("%1改用“%2”").arg(face.roleName, chosen));
        }
        QStringList chain;
        if (!chosen.isEmpty())
            chain << chosen;
        // The sans face's Chinese is drawn in the Song face, which the pages load anyway (a sans
        // CJK face would cost start-up another large font file).
        if (face.alias == kSans && !songDrawn.isEmpty())
            chain << songDrawn;
        if (face.alias == kSong)
            songDrawn = chosen;
        if (face.alias == kRoot)
            g_root = chosen.isEmpty() ? songDrawn : chosen;
        QFont::removeSubstitutions(face.alias);
        QFont::insertSubstitutions(face.alias, chain);
    }
    // Without an explicit font, Chinese text under a C locale falls back to the Kai face.
    QApplication::setFont(sans(11));
    return missing;
}

void install() {
    // UMing's and UKai's "CN" faces still draw Taiwan forms (匕 as 七, 差 and 骨 wrongly); the AR PL
    // GB faces draw the mainland forms, cover GB2312 whole and keep the one-em line height the
    // pages are laid out for. Noto Serif CJK SC draws the same forms but its lines are 1.45 em
    // high: it stands in only when the GB faces are missing.
    for (const QString& line : install(standardFaces()))
        std::fprintf(stderr, "%s\n", line.toUtf8().constData());
}

QFont song(int pixelSize, bool bold) {
    QFont f = make(kSong, pixelSize, bold);
    // Small, the Song face's hairlines blur to grey without its own hinting, and characters that
    // differ by a short stroke run together (住 and 往 in a typed line); hinted they stay apart.
    if (pixelSize <= kHintedUpTo)
        f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}
QFont songWithRoots(int pixelSize) {
    // Merging takes a missing character from the next family first; the line height stays the
    // Song face's.
    QFont f = make(kSong, pixelSize, false, true);
    f.setFamilies({kSong, g_root});
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
