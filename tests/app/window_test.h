#pragma once
// The real window offscreen for the wiring tests: opened and active before each test function,
// closed after it, over a recording desktop; widgets found, read and clicked by object name.
// A test class derives from it; one that needs more at the start of each function declares its
// own init() and calls WindowTest::init() first.

#include "main_window.h"
#include "recording_desktop.h"

#include <QObject>
#include <QPoint>
#include <QTest>

#include <memory>
#include <vector>

class WindowTest : public QObject {
    Q_OBJECT

protected Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

protected:
    // The named child of the window. One that is not there fails the test, naming it where it was
    // asked for; the test goes on to its end on a stand-in, so nothing it does next can crash.
    template <class W = QWidget>
    W* find(const QString& name, const char* file = __builtin_FILE(), int line = __builtin_LINE()) const {
        // By name, then by type with dynamic_cast: a widget class without its own meta-object
        // (ByteColumnLine) cannot be asked of findChild, which Qt 6.7 and later refuse to compile.
        if (auto* w = dynamic_cast<W*>(m_window->findChild<QObject*>(name)))
            return w;
        QTest::qFail(
            qPrintable(QStringLiteral("no %1 named %2").arg(QLatin1String(W::staticMetaObject.className()), name)),
            file, line);
        auto standIn = std::make_unique<W>(static_cast<QWidget*>(nullptr));
        W* w = standIn.get();
        m_standIns.push_back(std::move(standIn));
        return w;
    }
    // What a label, a box, a button, a memo or a passage or mark line shows.
    QString text(const QString& name) const;
    // A left click six pixels in, halfway down: on a radio button's circle, inside any box.
    void click(const QString& name);
    // Shows the page of app/pages.h named `name` ("TabSheet2"), as a click on its tab; a name no
    // row has fails the test.
    void showPage(const char* name, const char* file = __builtin_FILE(), int line = __builtin_LINE());
    // Opens the window again, closing the one open: for a test that changes what the window starts
    // with (the desktop's theme, say) after init().
    void open();
    app::Form& form() { return m_window->form(); }

    RecordingDesktop m_desktop;
    mutable std::vector<std::unique_ptr<QObject>> m_standIns;
    std::unique_ptr<app::TForm1> m_window;
};
