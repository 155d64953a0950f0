#pragma once
// The window's type faces: the Song face for most Chinese text, the Kai face for the large
// characters, a clean sans for the window's own default, and a face for codes. The Song and Kai
// faces are Debian fonts that draw the mainland standard forms Wubi 86 is defined on (匕 is not
// 七, 骨 has its inner stroke on the left); the code face tells l, 1 and I apart at a glance.

#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

namespace app::fonts {

// One face the window asks for, and where it turns when that face is not installed.
struct Face {
    QString alias;         // the name the layout uses ("宋体")
    QString wanted;        // the installed face it draws with ("AR PL SungtiL GB")
    QString package;       // the Debian package that holds it; empty for a face the program carries
    QStringList fallbacks; // best first: faces that draw the mainland forms before the rest
    QString roleName;      // how a learner would call it ("宋体", "代码")
};

// The Song, Kai, sans, code and root faces, in that order.
std::vector<Face> standardFaces();

// Loads the faces the program carries, maps the layout's face names to the faces given and sets
// the application font. A face that is
// not installed is replaced by the first of its fallbacks that is, and from then on every face
// may borrow a glyph it lacks from another, so no character is drawn as a box. Returns one line
// for each face that is missing, saying what is drawn instead; empty when all are there.
QStringList install(const std::vector<Face>& faces);

// The standard faces; a line for each missing one goes to standard error. Call once, after the
// application object exists.
void install();

QFont song(int pixelSize, bool bold = false); // "宋体"
// "宋体", with the few roots it lacks (乂, outside GB2312) drawn from the program's own root face,
// cut from the CJK face the charts use.
QFont songWithRoots(int pixelSize);
QFont kai(int pixelSize, bool bold = false);  // "楷体_GB2312"
QFont sans(int pixelSize);                    // "MS Sans Serif"
QFont code(int pixelSize, bool bold = false); // Wubi codes and addresses

} // namespace app::fonts
