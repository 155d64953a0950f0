// The floor: a bare window of the trainer's size with a timer ticking every 200 ms, as the
// trainer's Timer3 does, and nothing to do on a tick.

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    QWidget w;
    w.setFixedSize(721, 506);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &w, [] {});
    timer.start(200);
    w.show();
    return a.exec();
}
