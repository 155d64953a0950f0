#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace app::translations {

QString install(const QString& folder) {
    const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    // Named by file, not by the system's locale: the window is Chinese under every locale.
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(QStringLiteral("qtbase_zh_CN"), from) && QCoreApplication::installTranslator(qt))
        return QString();
    delete qt;
    return QStringLiteral("vardelo: 未安装 Qt 的中文翻译（Debian 软件包 qt6-translations-l10n），"
                          "对话框按钮和右键菜单显示为英文：%1")
        .arg(QDir(from).filePath(QStringLiteral("qtbase_zh_CN.qm")));
}

} // namespace app::translations
