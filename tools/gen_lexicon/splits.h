#pragma once
// The table behind the code explanations, cf.db: every GB2312 character with its full code, and
// the split of each character of lists/splits.txt whose code by the rules is that full code.

#include "dictionary.h"

#include <QList>
#include <QStringList>

namespace gen {

// Rows (hz, dm, cf) in dictionary order. A split that does not parse, is too long for a table
// field or gives another code is left out with a line in `notes`.
QList<QStringList> splitTableRows(const Dictionary& dict, const QStringList& splitLines, QStringList& notes);

} // namespace gen
