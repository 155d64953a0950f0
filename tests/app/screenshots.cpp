// Renders the window in its main states to PNG files, to be looked at by eye.

#include "fonts.h"
#include "main_window.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    app::fonts::install();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);
    controls::RecordingDesktop desktop;
    app::TForm1 w(QStringLiteral(VARDELO_BUILD_DATA_DIR), &desktop);
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        return 2;
    auto shot = [&](const QString& name) {
        QCoreApplication::processEvents();
        w.grab().save(out + QLatin1Char('/') + name + QStringLiteral(".png"));
    };
    app::Form& f = w.form();
    shot(QStringLiteral("start"));
    const struct {
        controls::RadioButton& r;
        const char* name;
    } selectors[] = {{f.pictures.RadioButton19, "selector-19-mnemonics"},
                     {f.pictures.RadioButton21, "selector-21-roots"},
                     {f.pictures.RadioButton17, "selector-17-key-names"},
                     {f.pictures.RadioButton18, "selector-18-first-level"},
                     {f.pictures.RadioButton20, "selector-20-banner"}};
    for (const auto& s : selectors) {
        w.runEvent([&] { s.r.check(); });
        shot(QLatin1String(s.name));
    }

    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(3);
    w.runEvent([&] { f.characters.RadioButton[5].check(); });
    for (int slot = 1; slot <= 6; ++slot) {
        const QString code = f.characters.Panel13.caption();
        QTest::keyClicks(QApplication::focusWidget(), code);
    }
    QTest::keyClicks(QApplication::focusWidget(), f.characters.Panel13.caption().left(2));
    shot(QStringLiteral("drill-hint-on"));
    w.runEvent([&] { f.characters.RadioButton23.check(); });
    shot(QStringLiteral("drill-hint-off"));
    return desktop.errors.isEmpty() ? 0 : 1;
}
