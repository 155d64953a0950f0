// The picture-hint panel under the pages: the banner, the four pictures and the five selectors.

#include "binder.h"
#include "fonts.h"
#include "pages.h"
#include "picture_files.h"
#include "picture_panel.h"
#include "widgets.h"

#include <QRadioButton>

namespace app {

void buildPicturePanel(QWidget* window, PicturePanel& pp, Binder& binder) {
    QFrame* panel2 = panel(window, QStringLiteral("Panel2"), QRect(0, 288, 721, 217), Bevel::Raised, Bevel::None);

    // Stacking from bottom to top: the banner's shadow, the banner, then the four pictures.
    QFrame* panel4 = panel(panel2, QStringLiteral("Panel4"), QRect(9, 24, 702, 183), Bevel::Lowered, Bevel::Lowered);
    panel4->setAutoFillBackground(true);
    shadowedTitle(panel4, {pp.Label16, QRect(110, 72, 482, 29), kYellow}, {pp.Label17, QRect(113, 70, 482, 29), kBlue},
                  fonts::kai(29, true), binder);

    const struct {
        controls::Control& control;
        QPoint at;
        const assets::PictureFile& file;
        const char* what;
    } pictures[] = {
        {pp.Image2, QPoint(3, 3), assets::kMnemonicChart, "五笔字根口诀"},
        {pp.Image7, QPoint(128, 8), assets::kKeyNameMap, "键名字键位图"},
        {pp.Image8, QPoint(128, 8), assets::kLevel1Map, "一级简码键位图"},
        {pp.Image9, QPoint(51, 5), assets::kRootMap, "字根键位图"},
    };
    for (const auto& p : pictures)
        binder.visibility(p.control,
                          named(new Picture(panel4, p.control.name(), p.file.at(p.at.x(), p.at.y()), p.file.resource()),
                                QString::fromUtf8(p.what)));

    binder.onSync([panel4, &pp] {
        const QColor want = pp.panelColour() == PicturePanel::Colour::White ? QColor(Qt::white) : buttonFace();
        if (panel4->palette().color(QPalette::Window) != want)
            setColours(panel4, windowText(), want);
    });

    const struct {
        controls::RadioButton& control;
        int left;
        int width;
    } selectors[] = {
        {pp.RadioButton19, 8, 130},   {pp.RadioButton21, 152, 120}, {pp.RadioButton17, 288, 130},
        {pp.RadioButton18, 440, 140}, {pp.RadioButton20, 600, 112},
    };
    for (const auto& s : selectors) {
        auto* r = place<QRadioButton>(panel2, s.control.name(), QRect(s.left, 5, s.width, 17));
        r->setFont(fonts::song(13));
        // A look at a chart while typing: a click leaves the focus in the drill's box, half-typed
        // code and all; Tab still reaches the selectors.
        r->setFocusPolicy(Qt::TabFocus);
        binder.radio(s.control, r);
    }
}

} // namespace app
