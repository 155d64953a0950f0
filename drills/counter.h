#pragma once
// The counter boxes of the drills hold a batch or item number as text.

#include <QString>

namespace drills {

// Advancing a counter: the text read as a decimal number plus one, written back in its shortest
// plain decimal form ("099" -> "100"). Text that is not a number counts as 0.
QString nextNumber(const QString& counterText);

} // namespace drills
