#include "qt_desktop.h"

#include "title.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

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

void QtDesktop::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace app
