// The floor: the least a Qt program with a window of as many tabs as the trainer's (eight, the rows of
// app/pages.h) costs to start and paint.

#include "first_paint.h"

#include <QApplication>
#include <QTabWidget>

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    QWidget w;
    w.setFixedSize(721, 506);
    auto* tabs = new QTabWidget(&w);
    tabs->setGeometry(0, 0, 721, 289);
    for (int i = 0; i < 8; ++i)
        tabs->addTab(new QWidget, QStringLiteral("页%1").arg(i + 1));
    QuitAfterFirstPaint quit;
    w.installEventFilter(&quit);
    w.show();
    return a.exec();
}
