// One accepted letter on the root drill: the check, the hide-all step over the 195 pictures, the
// emptied entry box's second check, the advance and the load of the next picture. Measured on the
// drill as the window holds it (inside the window's whole state), then with the real window
// showing the result on its built page (offscreen unless a platform is chosen). Prints medians.

#include "fonts.h"
#include "main_window.h"
#include "median.h"
#include "pages.h"
#include "recording_desktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Types the expected letter `rounds` times the whole cycle round, timing each accept with `type`.
template <class Type> std::vector<double> accepts(const drills::RootDrill& d, int rounds, Type type) {
    std::vector<double> us;
    for (int i = 0; i < rounds * drills::RootDrill::kItems; ++i) {
        const QChar letter = d.zigenLabel.caption().at(0).toLower();
        QElapsedTimer t;
        t.start();
        type(letter);
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
    }
    return us;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication a(argc, argv);
    app::fonts::install();
    RecordingDesktop desktop;
    app::TForm1 w(QStringLiteral(VARDELO_BUILD_DATA_DIR), &desktop);
    w.show();
    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(app::pageIndex(u"TabSheet6"));
    if (pages->currentWidget()->objectName() != QLatin1String("TabSheet6")) {
        std::fprintf(stderr, "the root drill's page TabSheet6 is not there\n");
        return 1;
    }
    QCoreApplication::processEvents();

    drills::RootDrill& d = w.form().roots;
    const QString before = d.Edit22.text();
    const std::vector<double> chain = accepts(d, 20, [&](QChar c) { d.Edit21.type(c); });
    const std::vector<double> shown = accepts(d, 5, [&](QChar c) { w.runEvent([&] { d.Edit21.type(c); }); });
    if (d.Edit22.text() != before) {
        std::fprintf(stderr, "the drill did not come round to item %s\n", qPrintable(before));
        return 1;
    }
    std::printf("root drill, one accepted letter (hide 195, advance, load)\n");
    std::printf("  the drill's chain:              median %.2f us over %zu accepts (goal < 20 us)\n", median(chain),
                chain.size());
    std::printf("  chain and the window showing it: median %.2f us over %zu accepts\n", median(shown), shown.size());
    return 0;
}
