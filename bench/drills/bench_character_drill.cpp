// The single-character drill's longest chain on the real tables: typing the code that completes
// slot 15 (lookup, accept, advance, batch load, the clear step with its change handlers, the hint
// of slot 1, the end-marker tests). Prints the median time per chain and per keystroke.

#include "real_drills.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main() {
    test_support::RealCharacterDrill real;
    drills::CharacterDrill& d = real.d;
    controls::Focus& focus = real.focus;

    std::vector<double> chains, keys;
    for (int round = 0; round < 40; ++round) {
        for (int category = 1; category <= drills::CharacterDrill::kCategories; ++category) {
            d.RadioButton[category == 1 ? 2 : 1].check();
            d.RadioButton[category].check();
            for (int batch = 0; batch < 5; ++batch) {
                // Bring the focus to slot 15 and type all but the last letter of its code.
                focus.setOther();
                focus.set(d.Ed[15], controls::Focus::Reason::Mouse);
                const QString code = d.Panel13.caption();
                const QString before = d.edit16.text();
                // The code is accepted on its last letter, or earlier where a shorter prefix
                // already gives the character: that keystroke runs the whole chain.
                for (QChar letter : code) {
                    QElapsedTimer t;
                    t.start();
                    d.Ed[15].type(letter);
                    const double us = t.nsecsElapsed() / 1000.0;
                    if (d.edit16.text() != before) {
                        chains.push_back(us);
                        break;
                    }
                    keys.push_back(us);
                }
                if (d.edit16.text() == before) {
                    std::fprintf(stderr, "slot 15 of batch %s was not accepted\n", qPrintable(before));
                    return 1;
                }
            }
        }
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("single-character drill on the real tables\n");
    std::printf("  completing slot 15 (the longest chain): median %.1f us over %zu chains (goal < 100 us)\n",
                median(chains), chains.size());
    std::printf("  any other keystroke (one lookup):       median %.1f us over %zu keys\n", median(keys), keys.size());
    return 0;
}
