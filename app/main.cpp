#include "data_folder.h"
#include "fonts.h"
#include "main_window.h"
#include "platform_environment.h"
#include "title.h"
#include "translations.h"

#include <QApplication>

#include <cstdio>

int main(int, char** argv) {
    // Before Qt's platform layer starts, so that it neither launches a bus nor makes a folder.
    const app::PlatformEnvironment environment = app::PlatformEnvironment::ofThisProcess();
    environment.apply();
    // The program reads no command line: the application object sees only the program's name.
    int argc = 1;
    char* args[] = {argv[0], nullptr};
    QApplication app(argc, args);
    QApplication::setApplicationName(app::kApplicationTitle);
    QApplication::setApplicationDisplayName(app::kApplicationTitle);
    // A Wayland desktop takes the window's icon and name from the desktop entry the program names.
    QGuiApplication::setDesktopFileName(QStringLiteral("vardelo"));
    app::fonts::install();
    const QString untranslated = app::translations::install();
    if (!untranslated.isEmpty())
        std::fprintf(stderr, "%s\n", untranslated.toUtf8().constData());

    app::TForm1 Form1(lexicon::dataFolderFor(QCoreApplication::applicationDirPath()), nullptr,
                      environment.forLaunchedPrograms());
    Form1.show();
    return app.exec();
}
