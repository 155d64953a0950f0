#pragma once
// The window's type faces: the Song face for most Chinese text, the Kai face for the large
// characters, a clean sans for the window's own default, and a face for codes. The Song and Kai
// faces are Debian fonts that draw the mainland standard forms Wubi 86 is defined on (匕 is not
// 七, 骨 has its inner stroke on the left); the code face tells l, 1 and I apart at a glance.

#include <QFont>
#include <QString>

namespace app::fonts {

// Maps the face names the layout uses to the installed fonts and sets the application font.
// Call once, after the application object exists.
void install();

QFont song(int pixelSize, bool bold = false); // "宋体"
// "宋体", with the few roots it lacks (乂, outside GB2312) drawn from the CJK face the charts use.
QFont songWithRoots(int pixelSize);
QFont kai(int pixelSize, bool bold = false);  // "楷体_GB2312"
QFont sans(int pixelSize);                    // "MS Sans Serif"
QFont code(int pixelSize, bool bold = false); // Wubi codes and addresses

} // namespace app::fonts
