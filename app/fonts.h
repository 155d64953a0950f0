#pragma once
// The window's type faces: the Song face for most Chinese text, the Kai face for the large
// characters, and a clean sans for the window's own default. Debian's AR PL fonts stand in for
// the faces the layout was drawn with.

#include <QFont>
#include <QString>

namespace app::fonts {

// Maps the face names the layout uses to the installed fonts and sets the application font.
// Call once, after the application object exists.
void install();

QFont song(int pixelSize, bool bold = false); // "宋体"
QFont kai(int pixelSize, bool bold = false);  // "楷体_GB2312"
QFont sans(int pixelSize);                    // "MS Sans Serif"

} // namespace app::fonts
