// Times the floor and the real window as whole processes, alternately, and prints both medians
// and their ratio. Run with QT_QPA_PLATFORM=offscreen, or under Xvfb for a real window.

#include "median.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double runOnce(const QString& program) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, {});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return -1;
    }
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication a(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString floor = dir + QStringLiteral("/startup_floor");
    const QString window = dir + QStringLiteral("/startup_window");
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 21;
    runOnce(floor); // warm the caches
    runOnce(window);
    std::vector<double> f, w;
    for (int i = 0; i < runs; ++i) {
        f.push_back(runOnce(floor));
        w.push_back(runOnce(window));
    }
    const double mf = median(f), mw = median(w);
    std::printf("start-up to first paint, median of %d runs (platform %s)\n", runs,
                qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default")).toUtf8().constData());
    std::printf("  floor (bare window, 8 tabs): %7.1f ms\n", mf);
    std::printf("  main window:                 %7.1f ms\n", mw);
    std::printf("  ratio:                       %7.2f (goal: at most 1.20)\n", mf > 0 ? mw / mf : 0.0);
    return 0;
}
