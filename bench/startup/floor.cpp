// The floor: the least a Qt program with a window of seven tabs costs to start and paint.

#include "first_paint.h"

#include <QApplication>
#include <QTabWidget>

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    QWidget w;
    w.setFixedSize(721, 506);
    auto* tabs = new QTabWidget(&w);
    tabs->setGeometry(0, 0, 721, 289);
    for (int i = 0; i < 7; ++i)
        tabs->addTab(new QWidget, QStringLiteral("页%1").arg(i + 1));
    QuitAfterFirstPaint quit;
    w.installEventFilter(&quit);
    w.show();
    return a.exec();
}
