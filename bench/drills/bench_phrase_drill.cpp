// The phrase drill's two longest chains on the real tables: typing the code that completes slot 5
// (lookup, accept, advance, batch load, the clear step with its fifteen change handlers, the hint of
// slot 1, the end-marker tests), and typing the code that completes a long phrase (lookup, accept,
// the nested clear, advance, phrase load, the hint for the next phrase). Prints the median time per
// chain.

#include "median.h"
#include "real_drills.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// Types `code` into `box`; returns the time of the keystroke that changed `counter`, or -1.
double timeCompletingKeystroke(controls::Edit& box, QString code, const controls::Edit& counter) {
    const QString before = counter.text();
    for (QChar letter : code) {
        QElapsedTimer t;
        t.start();
        box.type(letter);
        const double us = t.nsecsElapsed() / 1000.0;
        if (counter.text() != before)
            return us;
    }
    return -1;
}
} // namespace

int main() {
    test_support::RealPhraseDrill real;
    drills::PhraseDrill& d = real.d;
    controls::Focus& focus = real.focus;

    std::vector<double> slot5, longPhrase;
    for (int round = 0; round < 40; ++round) {
        for (int category = drills::PhraseDrill::kFirstCategory; category < drills::PhraseDrill::kLongPhraseCategory;
             ++category) {
            focus.setOther();
            d.RadioButton[category].check();
            for (int batch = 0; batch < 10; ++batch) {
                focus.set(d.czt[drills::PhraseDrill::kSlots], controls::Focus::Reason::Mouse);
                const double us =
                    timeCompletingKeystroke(d.czt[drills::PhraseDrill::kSlots], d.czts.caption(), d.Edit17);
                if (us < 0) {
                    std::fprintf(stderr, "slot 5 of batch %s was not accepted\n", qPrintable(d.Edit17.text()));
                    return 1;
                }
                slot5.push_back(us);
            }
        }
        focus.setOther();
        d.RadioButton[drills::PhraseDrill::kLongPhraseCategory].check();
        for (int row = 0; row < 30; ++row) {
            const double us = timeCompletingKeystroke(d.Edit18, d.czts.caption(), d.Edit20);
            if (us < 0) {
                std::fprintf(stderr, "row %s was not accepted\n", qPrintable(d.Edit20.text()));
                return 1;
            }
            longPhrase.push_back(us);
        }
    }
    std::printf("phrase drill on the real tables\n");
    std::printf("  completing slot 5 (the longest chain): median %.1f us over %zu chains (goal < 100 us)\n",
                median(slot5), slot5.size());
    std::printf("  completing a long phrase:              median %.1f us over %zu chains (goal < 100 us)\n",
                median(longPhrase), longPhrase.size());
    return 0;
}
