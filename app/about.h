#pragma once
// The page "关于软件": the product name, who makes it and how to reach them, a picture that
// scrolls without pause in a small frame, and a photograph behind a check box.
//
// Its chains are short. Every tick of the window's Timer3, whichever page is shown, moves Image6
// ten pixels to the left inside Panel10, and once it has left the frame entirely puts it back
// just beyond the frame's right edge. Clicking CheckBox2 shows Image4 exactly while the box is
// checked. Clicking the web address or the e-mail address asks the desktop to open it (the mail
// as a "mailto:" address) and ignores the result.

#include "controls.h"
#include "desktop.h"

namespace app {

// A picture whose left position in its frame the page moves.
class MovingPicture : public controls::Control {
public:
    MovingPicture(QString name, int left) : Control(std::move(name)), m_left(left) {}
    int left() const { return m_left; }
    void setLeft(int left) { m_left = left; }

private:
    int m_left;
};

class About {
public:
    // `timer3` ticks from the moment the window opens; the page takes its tick handler.
    About(controls::Timer& timer3, controls::Desktop& desktop);

    static const QString kHomepage;
    static const QString kContact;

    controls::Label Label19{QStringLiteral("Label19")}; // the product name in yellow
    controls::Label Label18{QStringLiteral("Label18")}; // its blue shadow
    controls::Label Label30{QStringLiteral("Label30")};
    controls::Label Label22{QStringLiteral("Label22")};
    controls::Label Label25{QStringLiteral("Label25")}; // the web address, clickable
    controls::Label Label23{QStringLiteral("Label23")};
    controls::Label Label21{QStringLiteral("Label21")}; // the e-mail address, clickable
    controls::CheckBox CheckBox2{QStringLiteral("CheckBox2"), QStringLiteral("作 者 照 片")};
    controls::Control Image4{QStringLiteral("Image4")}; // the photograph
    MovingPicture Image6{QStringLiteral("Image6"), kImage6Start};

    static constexpr int kPanel10Width = 138;
    static constexpr int kImage6Width = 132;
    static constexpr int kImage6Start = 3;
    static constexpr int kImage6Top = 3;
    static constexpr int kStep = 10;

    void Timer3Timer();
    void CheckBox2Click();
    void Label21Click();
    void Label25Click();

private:
    controls::Desktop& m_desktop;
};

} // namespace app
