// Locate + Read on the generated tables, and opening all six, as the drills and the hint panel use them.
//   bench_lexicon [data folder]
// Prints the median time per operation over several rounds.

#include "median.h"
#include "table.h"
#include "table_rows.h"

#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using lexicon::Table;

namespace {

QStringList column(const QString& folder, const QString& table, const QString& field) {
    QStringList out;
    for (const QStringList& row : tableRows(folder + QLatin1Char('/') + table + QStringLiteral(".db"),
                                            QStringLiteral("SELECT %1 FROM %2").arg(field, table)))
        out << row.first();
    return out;
}

// Median over rounds of the mean time of one Locate + Read of `readField`, in microseconds.
double locateAndRead(Table& t, const QString& field, const QString& readField, const QStringList& keys) {
    std::vector<double> rounds;
    volatile qsizetype sink = 0;
    for (int round = 0; round < 15; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (const QString& k : keys) {
            t.locate(field, k);
            sink = sink + t.read(readField).size();
        }
        rounds.push_back(timer.nsecsElapsed() / 1000.0 / keys.size());
    }
    return median(rounds);
}

QStringList sample(const QStringList& all, int n) {
    std::mt19937 rng(20240);
    std::uniform_int_distribution<qsizetype> pick(0, all.size() - 1);
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << all[pick(rng)];
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VARDELO_BUILD_DATA_DIR);
    try {
        std::vector<double> opens;
        for (int round = 0; round < 25; ++round) {
            QElapsedTimer timer;
            timer.start();
            Table t1(QStringLiteral("Table1")), t2(QStringLiteral("Table2")), t3(QStringLiteral("Table3")),
                t4(QStringLiteral("Table4")), t5(QStringLiteral("Table1")), t6(QStringLiteral("Table5"));
            t1.open(folder, QStringLiteral("wb.db"));
            t2.open(folder, QStringLiteral("zk.db"));
            t3.open(folder, QStringLiteral("czwb.db"));
            t4.open(folder, QStringLiteral("czzk.db"));
            t5.open(folder, QStringLiteral("jm.db"));
            t6.open(folder, QStringLiteral("cf.db"));
            opens.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("open all six tables:         %8.3f ms (median of %zu)\n", median(opens), opens.size());

        const int n = 20000;
        Table wb(QStringLiteral("Table1"));
        wb.open(folder, QStringLiteral("wb.db"));
        const QStringList codes = sample(column(folder, QStringLiteral("wb"), QStringLiteral("dm")), n);
        const QStringList chars = sample(column(folder, QStringLiteral("wb"), QStringLiteral("hz")), n);
        std::printf("wb.db   Locate dm + Read hz: %8.3f us\n",
                    locateAndRead(wb, QStringLiteral("dm"), QStringLiteral("hz"), codes));
        std::printf("wb.db   Locate hz + Read dm: %8.3f us\n",
                    locateAndRead(wb, QStringLiteral("hz"), QStringLiteral("dm"), chars));
        {
            // Read alone, of a character and of a code: the part that checks each value.
            std::vector<double> rounds;
            volatile qsizetype sink = 0;
            wb.locate(QStringLiteral("hz"), chars.first());
            for (int round = 0; round < 15; ++round) {
                QElapsedTimer timer;
                timer.start();
                for (int i = 0; i < n; ++i)
                    sink = sink + wb.read(QStringLiteral("hz")).size() + wb.read(QStringLiteral("dm")).size();
                rounds.push_back(timer.nsecsElapsed() / 1000.0 / n / 2);
            }
            std::printf("wb.db   Read hz / dm alone:  %8.3f us\n", median(rounds));
        }
        QStringList misses;
        for (const QString& c : codes)
            misses << c + QStringLiteral("zz");
        std::printf("wb.db   Locate miss + Read:  %8.3f us\n",
                    locateAndRead(wb, QStringLiteral("dm"), QStringLiteral("hz"), misses));

        Table zk(QStringLiteral("Table2"));
        zk.open(folder, QStringLiteral("zk.db"));
        const QStringList batches = sample(column(folder, QStringLiteral("zk"), QStringLiteral("no")), n);
        std::printf("zk.db   Locate no + Read n15:%8.3f us\n",
                    locateAndRead(zk, QStringLiteral("no"), QStringLiteral("n15"), batches));

        Table czwb(QStringLiteral("Table3"));
        czwb.open(folder, QStringLiteral("czwb.db"));
        const QStringList phraseCodes = sample(column(folder, QStringLiteral("czwb"), QStringLiteral("n1")), n);
        const QStringList phrases = sample(column(folder, QStringLiteral("czwb"), QStringLiteral("n2")), n);
        std::printf("czwb.db Locate n1 + Read n2: %8.3f us\n",
                    locateAndRead(czwb, QStringLiteral("n1"), QStringLiteral("n2"), phraseCodes));
        std::printf("czwb.db Locate n2 + Read n1: %8.3f us\n",
                    locateAndRead(czwb, QStringLiteral("n2"), QStringLiteral("n1"), phrases));
    } catch (const lexicon::TableError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
