#include "qt_desktop.h"

#include "platform_environment.h"
#include "title.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace app {

void QtDesktop::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, app::kApplicationTitle, text, QMessageBox::Ok, m_owner);
    box.exec();
}

void QtDesktop::error(const QString& text) {
    QMessageBox box(QMessageBox::Critical, app::kApplicationTitle, text, QMessageBox::Ok, m_owner);
    box.exec();
}

void QtDesktop::beep() {
    QApplication::beep();
}

// The desktop's own open command, with the session's environment: Qt's open action would look for
// a runtime folder first (making one where the session has none) and hand the browser or mail
// program the environment the platform layer was started in.
void QtDesktop::openUrl(const QString& url) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return;
    QProcess launch;
    launch.setProgram(opener);
    launch.setArguments({url});
    launch.setProcessEnvironment(PlatformEnvironment::forLaunchedPrograms());
    launch.setStandardInputFile(QProcess::nullDevice());
    launch.startDetached();
}

} // namespace app
