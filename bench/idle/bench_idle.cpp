// Starts the trainer and the floor side by side, lets both settle, then prints the CPU seconds
// each uses over the idle spell (30 s, or the seconds given) and their ratio.
// Run with QT_QPA_PLATFORM=offscreen, or under Xvfb for a real window.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

// CPU time of a running process, all its threads, in seconds, at the scheduler's nanosecond
// resolution (the clock-tick counts of /proc/PID/stat are too coarse for an idle program).
double cpuSeconds(qint64 pid) {
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    const QStringList threads = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (threads.isEmpty())
        return -1;
    double total = 0;
    for (const QString& t : threads) {
        QFile stat(tasks.filePath(t + QStringLiteral("/schedstat")));
        if (stat.open(QIODevice::ReadOnly))
            total += stat.readAll().split(' ').value(0).toDouble() / 1e9;
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication a(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    QProcess program, floor;
    program.setProgram(QStringLiteral(VARDELO_PROGRAM));
    floor.setProgram(QStringLiteral(IDLE_FLOOR));
    for (QProcess* p : {&program, &floor}) {
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start();
        if (!p->waitForStarted()) {
            std::fprintf(stderr, "cannot start %s\n", qPrintable(p->program()));
            return 1;
        }
    }
    QThread::sleep(5); // start-up is not idling, even on a busy machine
    const double program0 = cpuSeconds(program.processId()), floor0 = cpuSeconds(floor.processId());
    QThread::sleep(seconds);
    const double program1 = cpuSeconds(program.processId()), floor1 = cpuSeconds(floor.processId());
    for (QProcess* p : {&program, &floor}) {
        p->terminate();
        p->waitForFinished(5000);
    }
    if (program0 < 0 || program1 < 0 || floor0 < 0 || floor1 < 0) {
        std::fprintf(stderr, "a process ended before the measurement did\n");
        return 1;
    }
    const double p = program1 - program0, f = floor1 - floor0;
    std::printf("CPU time over %d s idle, first page in view (platform %s)\n", seconds,
                qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default")).toUtf8().constData());
    std::printf("  floor (bare window, 200 ms timer): %6.3f s\n", f);
    std::printf("  trainer:                           %6.3f s\n", p);
    std::printf("  ratio:                             %6.2f (goal: at most 1.50)\n", f > 0 ? p / f : 0.0);
    return 0;
}
