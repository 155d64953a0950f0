// The page "五笔字根表": the root chart on a sky-blue panel.

#include "binder.h"
#include "pages.h"
#include "picture_files.h"
#include "widgets.h"

namespace app {

void buildRootChartPage(QWidget* page, Form&, Binder&) {
    QFrame* panel1 = panel(page, QStringLiteral("Panel1"), QRect(8, 8, 697, 244), Bevel::Raised, Bevel::None);
    setColours(panel1, windowText(), kSkyBlue);
    named(new Picture(panel1, QStringLiteral("Image1"), assets::kRootChart.at(10, 6), assets::kRootChart.resource()),
          QStringLiteral("五笔字根表"));
}

} // namespace app
