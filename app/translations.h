#pragma once
// Qt's own texts (a message box's button, the edit boxes' context menus: 撤消, 复制, 粘贴…) in
// Simplified Chinese whatever the locale, as the rest of the window is: a C or English locale is
// common on servers and minimal installs, and would leave them in English.

#include <QString>

namespace app::translations {

// Installs Qt's own Simplified Chinese translations from `folder` (by default the folder Qt reads
// its translations from). Returns an empty string when they are installed, otherwise one line
// saying what is missing.
QString install(const QString& folder = QString());

} // namespace app::translations
