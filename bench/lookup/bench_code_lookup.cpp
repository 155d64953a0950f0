// The lookup page on the real tables. First the page's first opening in the real window (offscreen
// unless a platform is chosen), from the tab switch to the page painted, and its first lookup,
// beside the first opening of the other pages with a state machine, each in a window of its own as
// at start-up; then a keystroke's lookup on the state machine alone: a character, a phrase, one to
// four code letters typed in turn, the any-letter key, and a paste of a long text. Prints medians.

#include "code_lookup.h"
#include "fonts.h"
#include "main_window.h"
#include "median.h"
#include "pages.h"
#include "recording_desktop.h"
#include "recording_pictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

double msSince(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

struct Opening {
    double page = 0;   // the tab switch, the page built, shown and painted
    double lookup = 0; // the lookup page only: its first lookup, shown and painted
};

// The first opening of `page` in a new window that has just come up on its first page.
Opening openFirstTime(const char16_t* page) {
    RecordingDesktop desktop;
    app::TForm1 w(QStringLiteral(VARDELO_BUILD_DATA_DIR), &desktop);
    w.show();
    QCoreApplication::processEvents();
    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    Opening o;
    QElapsedTimer t;
    t.start();
    pages->setCurrentIndex(app::pageIndex(page));
    w.repaint();
    o.page = msSince(t);
    if (QStringView(page) == u"TabSheet8") {
        t.restart();
        w.runEvent([&] { w.form().lookup.Edit30.setText(QStringLiteral("经")); });
        w.repaint();
        o.lookup = msSince(t);
    }
    return o;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication a(argc, argv);
    app::fonts::install();

    // Every page's fonts and pictures are loaded once before anything is timed, so no page pays
    // for what another loaded first.
    openFirstTime(u"TabSheet8");
    const char16_t* const others[] = {u"TabSheet2", u"TabSheet3", u"TabSheet4", u"TabSheet6"};
    for (const char16_t* p : others)
        openFirstTime(p);
    constexpr int kRounds = 9;
    std::printf("lookup page on the real tables\n");
    std::printf("first opening of a page, tab switch to page painted (median of %d windows):\n", kRounds);
    std::vector<double> lookupPage, firstLookup;
    for (int i = 0; i < kRounds; ++i) {
        const Opening o = openFirstTime(u"TabSheet8");
        lookupPage.push_back(o.page);
        firstLookup.push_back(o.lookup);
    }
    std::printf("  编码查询 TabSheet8:        %7.2f ms, then its first lookup %.2f ms\n", median(lookupPage),
                median(firstLookup));
    for (const char16_t* p : others) {
        std::vector<double> ms;
        for (int i = 0; i < kRounds; ++i)
            ms.push_back(openFirstTime(p).page);
        std::printf("  %-25s %7.2f ms\n", qPrintable(QString::fromUtf16(p)), median(ms));
    }

    controls::Focus focus;
    RecordingPictures pictures;
    drills::CodeLookup d(focus, QStringLiteral(VARDELO_BUILD_DATA_DIR), pictures);
    QElapsedTimer t;
    t.start();
    d.Edit30.setText(QStringLiteral("经"));
    const double first = msSince(t);
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
            ms.push_back(msSince(k));
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
    const QStringList any{"z", "xz", "zz", "zzzz"};
    const double anyLetter = time([&](int i) { d.Edit30.setText(any[i % any.size()]); });
    QString longText;
    while (longText.size() < 20000)
        longText += characters;
    const double pasted = time([&](int) { d.Edit30.setText(longText); });

    std::printf("a lookup on the state machine alone:\n");
    std::printf("  the first (opens the tables):            %.2f ms\n", first);
    std::printf("  a character:                             median %.3f ms (goal: a few ms)\n", character);
    std::printf("  a phrase of four characters:             median %.3f ms\n", phrase);
    std::printf("  one to four code letters:                median %.3f ms\n", code);
    std::printf("  codes with z (z, xz, zz, zzzz):          median %.3f ms\n", anyLetter);
    std::printf("  a pasted text of 20,000 characters:      median %.3f ms\n", pasted);
    return 0;
}
