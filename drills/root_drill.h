#pragma once
// The root drill (page "字根练习"): a picture of one Wubi root; the learner types the letter of the
// key that carries it. The 195 items visit the pictures in an order that mixes the keys and run as
// a closed cycle; "重新开始" goes back to item 1.
//
// The chain is the key drills' own (key_drill.h): counter Edit22 loads the letter into zigen and
// makes the item's picture visible; every change of Edit21 is checked against zigen. A right
// letter first clicks Button11, which hides all 195 pictures, then clears Edit21 and clicks
// Button7, the advance, whose load shows the next picture alone. The load itself hides nothing.
// Choosing a hint option shows or hides zigen and keeps the letter in Edit21, selected. Showing
// the page empties Edit21, puts the focus there, then asks the picture-hint panel for the root map.

#include "controls.h"
#include "key_drill.h"
#include "picture_hints.h"

namespace drills {

class RootDrill {
public:
    RootDrill(controls::Focus& focus, PictureHints& pictures);

    static constexpr int kItems = 195;
    static constexpr int kPictures = 195;
    // The picture item n (1-195) shows and the key letter it expects.
    static int picture(int item);
    static QChar key(int item);

    controls::Family<controls::Control> zigen; // zigen1 ... zigen195, the root pictures
    // The label "zigen" (the family above has the name): the key letter, the hint and the expected answer.
    controls::Label zigenLabel{QStringLiteral("zigen")};
    controls::Edit Edit21{QStringLiteral("Edit21")};
    controls::Edit Edit22{QStringLiteral("Edit22")};       // item counter
    controls::Button Button7{QStringLiteral("Button7")};   // advance step
    controls::Button Button11{QStringLiteral("Button11")}; // hides all root pictures
    controls::Button Button13{QStringLiteral("Button13")}; // "重新开始"
    controls::RadioGroup Panel17;
    controls::RadioButton RadioButton26{QStringLiteral("RadioButton26"), QStringLiteral("提示"), Panel17};
    controls::RadioButton RadioButton27{QStringLiteral("RadioButton27"), QStringLiteral("不提示"), Panel17};

    void Edit22Change();
    void Edit21Change();
    void Button7Click();
    void Button11Click();
    void Button13Click();
    void TabSheet6Show();
    void RadioButton26Click();
    void RadioButton27Click();

    const KeyDrill& pattern() const { return m_pattern; }

private:
    controls::Focus& m_focus;
    PictureHints& m_pictures;
    KeyDrill m_pattern;
};

} // namespace drills
