#pragma once
// The picture-hint panel under the pages: a banner line, or one of four reference pictures chosen
// by five selectors. The drills check a selector by program to show the map that suits them.
//
// Each selector's click handler sets the panel colour and which pictures and banner labels show;
// what a handler leaves alone stays as the previous choice left it (the mnemonic chart keeps the
// panel colour, the root map and the mnemonic chart leave the banner labels under them).

#include "controls.h"
#include "picture_hints.h"

namespace app {

class PicturePanel : public drills::PictureHints {
public:
    enum class Colour { ButtonFace, White };

    PicturePanel();

    controls::RadioGroup Panel2;
    controls::RadioButton RadioButton19{QStringLiteral("RadioButton19"), QStringLiteral("五笔字根口诀"), Panel2};
    controls::RadioButton RadioButton21{QStringLiteral("RadioButton21"), QStringLiteral("字根键位图"), Panel2};
    controls::RadioButton RadioButton17{QStringLiteral("RadioButton17"), QStringLiteral("键名字键位图"), Panel2};
    controls::RadioButton RadioButton18{QStringLiteral("RadioButton18"), QStringLiteral("一级简码键位图"), Panel2};
    controls::RadioButton RadioButton20{QStringLiteral("RadioButton20"), QStringLiteral("取消图片提示"), Panel2};

    controls::Label Label16{QStringLiteral("Label16")}; // the banner's yellow shadow
    controls::Label Label17{QStringLiteral("Label17")}; // the banner in blue
    controls::Control Image2{QStringLiteral("Image2")}; // mnemonic chart
    controls::Control Image7{QStringLiteral("Image7")}; // key-name map
    controls::Control Image8{QStringLiteral("Image8")}; // first-level short-code map
    controls::Control Image9{QStringLiteral("Image9")}; // root map

    Colour panelColour() const { return m_colour; }

    // A drill's request: checks the selector of that map.
    void show(drills::KeyboardMap map) override;

    void RadioButton17Click();
    void RadioButton18Click();
    void RadioButton19Click();
    void RadioButton20Click();
    void RadioButton21Click();

    static const QString kBanner;

private:
    void showOnly(controls::Control* picture);
    Colour m_colour = Colour::ButtonFace;
};

} // namespace app
