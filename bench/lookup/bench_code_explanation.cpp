// The code explanation's lookup on the keystroke path, on the real tables. After every event the
// hint panel asks for the explanation of the character or phrase on show: almost always the one
// it showed before (a comparison), and once a target changes a new lookup (locate, read, parse,
// the strip's cells and its text). Prints the median of each.

#include "code_explainer.h"
#include "median.h"
#include "table_rows.h"

#include <QElapsedTimer>
#include <QHash>
#include <algorithm>
#include <cstdio>
#include <vector>

int main() {
    const QString data = QStringLiteral(VARDELO_BUILD_DATA_DIR);
    const QStringList characters =
        tableTexts(data + QStringLiteral("/zk.db"), QStringLiteral("SELECT n1, n2, n3, n4, n5, n6, n7, n8, n9, n10, "
                                                                   "n11, n12, n13, n14, n15 FROM zk"));
    const QStringList phrases =
        tableTexts(data + QStringLiteral("/czzk.db"), QStringLiteral("SELECT n2, n3, n4, n5, n6 FROM czzk"));
    // Each phrase with the code its hint shows.
    QHash<QString, QString> phraseCodes;
    for (const QStringList& row :
         tableRows(data + QStringLiteral("/czwb.db"), QStringLiteral("SELECT n2, n1 FROM czwb")))
        phraseCodes.insert(row.value(0), row.value(1));
    if (characters.isEmpty() || phrases.isEmpty()) {
        std::fprintf(stderr, "no drill material in %s\n", qPrintable(data));
        return 1;
    }
    drills::CodeExplainer explainer(data);
    std::vector<double> same, changed, samePhrase, changedPhrase;
    int shown = 0;
    for (int round = 0; round < 20; ++round) {
        for (const QString& hz : characters) {
            QElapsedTimer t;
            t.start();
            shown += explainer.character(hz).cells.isEmpty() ? 0 : 1;
            changed.push_back(t.nsecsElapsed() / 1000.0);
            for (int key = 0; key < 4; ++key) {
                t.start();
                shown += explainer.character(hz).cells.isEmpty() ? 0 : 1;
                same.push_back(t.nsecsElapsed() / 1000.0);
            }
        }
        for (const QString& phrase : phrases) {
            QElapsedTimer t;
            t.start();
            shown += explainer.phrase(phrase, phraseCodes.value(phrase)).cells.isEmpty() ? 0 : 1;
            changedPhrase.push_back(t.nsecsElapsed() / 1000.0);
            t.start();
            shown += explainer.phrase(phrase, phraseCodes.value(phrase)).cells.isEmpty() ? 0 : 1;
            samePhrase.push_back(t.nsecsElapsed() / 1000.0);
        }
    }
    std::printf("code explanation lookup on the real tables (%d explanations shown)\n", shown);
    std::printf("  keystroke, same character on show: median %.3f us (goal < 5 us)\n", median(same));
    std::printf("  target changed, new character:     median %.2f us (goal < 5 us)\n", median(changed));
    std::printf("  keystroke, same phrase on show:    median %.3f us\n", median(samePhrase));
    std::printf("  target changed, new phrase:        median %.2f us\n", median(changedPhrase));
    return 0;
}
