// The real main window, started as the program starts it, quitting after its first paint.

#include "first_paint.h"
#include "fonts.h"
#include "main_window.h"
#include "title.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    QApplication::setApplicationName(app::kApplicationTitle);
    app::fonts::install();
    app::TForm1 w(QStringLiteral(VARDELO_BUILD_DATA_DIR));
    QuitAfterFirstPaint quit;
    w.installEventFilter(&quit);
    w.show();
    return a.exec();
}
