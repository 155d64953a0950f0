// How long one learner's keystroke takes the typing test: the refusal check, the judging step and
// the mark rewrite, with the GB2312 byte counts they need. Prints microseconds per keystroke.
#include <gb_text.h>
#include <typing.h>

#include <controls.h>
#include <recording_desktop.h>

#include <QElapsedTimer>

#include <cstdio>

int main() {
    controls::Focus focus;
    RecordingDesktop desktop;
    typing::TypingTest test(focus, desktop);
    constexpr int kRuns = 200;
    qint64 keys = 0;
    QElapsedTimer clock;
    clock.start();
    for (int run = 0; run < kRuns; ++run) {
        test.RadioButton[11 + run % 6].check();
        test.Button4.click();
        for (int b = 1; b <= 4; ++b) {
            const QString line = test.passageLine(b).text();
            for (int i = 0; i < line.size(); ++i, ++keys) {
                // Every fifth character wrong, then deleted and typed again.
                if (i % 5 == 4) {
                    test.paste(b, QStringLiteral("错"));
                    test.backspace(b);
                    keys += 2;
                }
                test.paste(b, line.mid(i, 1));
            }
        }
    }
    const double us = static_cast<double>(clock.nsecsElapsed()) / 1000.0;
    std::printf("%lld keystrokes, %d finished tests: %.2f us per keystroke\n", keys,
                static_cast<int>(desktop.messages.size()), us / static_cast<double>(keys));
    return desktop.messages.size() == kRuns ? 0 : 1;
}
