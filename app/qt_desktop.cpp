#include "qt_desktop.h"

#include "title.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace app {

namespace {

// A window manager draws the title in the title bar beside its icon and buttons; a box only as
// wide as a short message (the speed report) would have it cut. The title's width in the box's
// own font, twice over for a larger title face, and room for the icon and three buttons.
void keepTitleWhole(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width = 2 * QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) + 120;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

void show(QMessageBox::Icon icon, const QString& text, QWidget* owner) {
    QMessageBox box(icon, app::kApplicationTitle, text, QMessageBox::Ok, owner);
    keepTitleWhole(box);
    box.exec();
}

} // namespace

void QtDesktop::message(const QString& text) {
    show(QMessageBox::NoIcon, text, m_owner);
}

void QtDesktop::error(const QString& text) {
    show(QMessageBox::Critical, text, m_owner);
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
    launch.setProcessEnvironment(m_launchedPrograms);
    launch.setStandardInputFile(QProcess::nullDevice());
    launch.startDetached();
}

} // namespace app
