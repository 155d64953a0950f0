#include "data_folder.h"

#include <QDir>
#include <QFileInfo>

namespace lexicon {

QString dataFolderFor(const QString& applicationDir) {
    const QDir app(applicationDir);
    const QString beside = app.filePath(QStringLiteral("data"));
    if (QFileInfo(beside).isDir())
        return QDir::cleanPath(beside);
    return QDir::cleanPath(app.filePath(QStringLiteral("../share/vardelo")));
}

QString phraseBatchFolder(const QString& dataFolder) {
    const QString working = QDir::currentPath();
    if (QFileInfo(QDir(working).filePath(QStringLiteral("czzk.db"))).isFile())
        return working;
    return dataFolder;
}

} // namespace lexicon
