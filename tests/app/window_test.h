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

class WindowTest : public QObject {
    Q_OBJECT

protected Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

protected:
    template <class W = QWidget> W* find(const QString& name) const {
        // By name, then by type with dynamic_cast: a widget class without its own meta-object
        // (ByteColumnLine) cannot be asked of findChild, which Qt 6.7 and later refuse to compile.
        auto* w = dynamic_cast<W*>(m_window->findChild<QObject*>(name));
        if (!w)
            qWarning("no widget %s", qPrintable(name));
        return w;
    }
    // What a label, a box, a button, a memo or a passage or mark line shows.
    QString text(const QString& name) const;
    // A left click six pixels in, halfway down: on a radio button's circle, inside any box.
    void click(const QString& name);
    void showPage(int index);
    // Opens the window again, closing the one open: for a test that changes what the window starts
    // with (the desktop's theme, say) after init().
    void open();
    app::Form& form() { return m_window->form(); }

    RecordingDesktop m_desktop;
    std::unique_ptr<app::TForm1> m_window;
};
