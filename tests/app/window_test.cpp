#include "window_test.h"

#include "byte_column_line.h"
#include "fonts.h"
#include "pages.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

void WindowTest::initTestCase() {
    app::fonts::install();
}

void WindowTest::init() {
    open();
}

void WindowTest::open() {
    m_window.reset();
    m_desktop = {};
    m_window = std::make_unique<app::TForm1>(QStringLiteral(VARDELO_BUILD_DATA_DIR), &m_desktop);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void WindowTest::cleanup() {
    m_window.reset();
    m_standIns.clear();
}

QString WindowTest::text(const QString& name) const {
    QWidget* w = find(name);
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* m = qobject_cast<QPlainTextEdit*>(w))
        return m->toPlainText();
    if (auto* line = dynamic_cast<app::ByteColumnLine*>(w))
        return line->text();
    return QString();
}

void WindowTest::click(const QString& name) {
    QWidget* w = find(name);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
}

void WindowTest::showPage(const char* name, const char* file, int line) {
    const int index = app::pageIndex(QLatin1String(name));
    if (index < 0) {
        QTest::qFail(qPrintable(QStringLiteral("no page named %1").arg(QLatin1String(name))), file, line);
        return;
    }
    find<QTabWidget>(QStringLiteral("PageControl1"), file, line)->setCurrentIndex(index);
}
