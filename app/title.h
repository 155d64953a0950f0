#pragma once

#include <QString>

namespace app {

// The application title: window caption, task bar and message boxes.
inline const QString kApplicationTitle = QStringLiteral("VardeloV5.0");

} // namespace app
