#pragma once
// Where the program finds its lexicon tables. Nothing is configured: both folders follow from
// where the executable sits and from the working folder.

#include <QString>

namespace lexicon {

// `<appDir>/data` when it exists (the build tree, where the program sits beside its data folder),
// otherwise `<appDir>/../share/vardelo` (an installed tree: bin/vardelo and share/vardelo).
QString dataFolderFor(const QString& applicationDir);

// The folder czzk.db is opened from: the working folder when it holds czzk.db, otherwise the data
// folder, so the phrase drills work whichever folder the program was started from.
QString phraseBatchFolder(const QString& dataFolder);

} // namespace lexicon
