#include "about.h"

#include "identity.h"

namespace app {

const QString About::kHomepage = QStringLiteral(VARDELO_HOMEPAGE);
const QString About::kContact = QStringLiteral(VARDELO_CONTACT);

About::About(controls::Timer& timer3, controls::Desktop& desktop) : m_desktop(desktop) {
    Label19.setCaption(QStringLiteral("V a r d e l o V5.0"));
    Label18.setCaption(Label19.caption());
    Label30.setCaption(QStringLiteral("制作："));
    Label22.setCaption(QStringLiteral("网址："));
    Label25.setCaption(kHomepage);
    Label23.setCaption(QStringLiteral("E-mail:"));
    Label21.setCaption(kContact);
    Image4.hide();

    timer3.onTimer = [this] { Timer3Timer(); };
    CheckBox2.onClick = [this] { CheckBox2Click(); };
    Label21.onClick = [this] { Label21Click(); };
    Label25.onClick = [this] { Label25Click(); };
}

void About::Timer3Timer() {
    // Once wholly left of the frame it starts again just beyond the right edge.
    if (Image6.left() + kImage6Width <= 0)
        Image6.setLeft(kPanel10Width);
    else
        Image6.setLeft(Image6.left() - kStep);
}

void About::CheckBox2Click() {
    Image4.setVisible(CheckBox2.isChecked());
}

void About::Label21Click() {
    m_desktop.openUrl(QStringLiteral("mailto:") + kContact);
}

void About::Label25Click() {
    m_desktop.openUrl(kHomepage);
}

} // namespace app
