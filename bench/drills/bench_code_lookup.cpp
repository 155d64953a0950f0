// The lookup page on the real tables: reading the code tables into the index (once, at the first
// lookup), then a keystroke's lookup: a character, a phrase, one to four code letters typed in
// turn, and a paste of a long text. Prints the median of each.

#include "code_lookup.h"
#include "median.h"
#include "recording_pictures.h"

#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <vector>

int main() {
    controls::Focus focus;
    RecordingPictures pictures;
    drills::CodeLookup d(focus, QStringLiteral(VARDELO_BUILD_DATA_DIR), pictures);
    QElapsedTimer t;
    t.start();
    d.Edit30.setText(QStringLiteral("经"));
    const double load = t.nsecsElapsed() / 1e6;
    if (d.answer().characters.isEmpty()) {
        std::fprintf(stderr, "nothing found: %s\n", qPrintable(d.Label40.caption()));
        return 1;
    }
    const auto time = [&](const std::function<void(int)>& step) {
        std::vector<double> ms;
        for (int i = 0; i < 200; ++i) {
            d.Edit30.clear();
            QElapsedTimer k;
            k.start();
            step(i);
            ms.push_back(k.nsecsElapsed() / 1e6);
        }
        return median(ms);
    };
    const QString characters =
        QStringLiteral("经汉越嫌鬱的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动");
    const double character = time([&](int i) { d.Edit30.setText(characters.mid(i % characters.size(), 1)); });
    const QStringList phrases{"中国人民", "社会主义", "经济建设", "科学技术", "继续"};
    const double phrase = time([&](int i) { d.Edit30.setText(phrases[i % phrases.size()]); });
    const QStringList codes{"a", "tg", "tgf", "tgfd", "g", "yy", "xca", "xcag"};
    const double code = time([&](int i) { d.Edit30.setText(codes[i % codes.size()]); });
    QString longText;
    while (longText.size() < 20000)
        longText += characters;
    const double pasted = time([&](int) { d.Edit30.setText(longText); });

    std::printf("lookup page on the real tables\n");
    std::printf("  reading the code tables (first lookup): %.1f ms\n", load);
    std::printf("  a character:                            median %.3f ms (goal: a few ms)\n", character);
    std::printf("  a phrase of four characters:            median %.3f ms\n", phrase);
    std::printf("  one to four code letters:               median %.3f ms\n", code);
    std::printf("  a pasted text of 20,000 characters:     median %.3f ms\n", pasted);
    return 0;
}
