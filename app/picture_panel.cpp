#include "picture_panel.h"

namespace app {

const QString PicturePanel::kBanner = QStringLiteral("使用Vardelo,学习五笔很轻松！");

PicturePanel::PicturePanel() {
    Label16.setCaption(kBanner);
    Label17.setCaption(kBanner);
    for (controls::Control* picture : {&Image2, &Image7, &Image8, &Image9})
        picture->hide();
    RadioButton17.onClick = [this] { RadioButton17Click(); };
    RadioButton18.onClick = [this] { RadioButton18Click(); };
    RadioButton19.onClick = [this] { RadioButton19Click(); };
    RadioButton20.onClick = [this] { RadioButton20Click(); };
    RadioButton21.onClick = [this] { RadioButton21Click(); };
}

void PicturePanel::show(drills::KeyboardMap map) {
    switch (map) {
    case drills::KeyboardMap::KeyNames:
        RadioButton17.check();
        break;
    case drills::KeyboardMap::FirstLevel:
        RadioButton18.check();
        break;
    case drills::KeyboardMap::Roots:
        RadioButton21.check();
        break;
    }
}

void PicturePanel::showOnly(controls::Control* picture) {
    for (controls::Control* p : {&Image2, &Image7, &Image8, &Image9})
        p->setVisible(p == picture);
}

void PicturePanel::RadioButton19Click() {
    showOnly(&Image2);
}

void PicturePanel::RadioButton21Click() {
    m_colour = Colour::White;
    showOnly(&Image9);
}

void PicturePanel::RadioButton17Click() {
    m_colour = Colour::White;
    showOnly(&Image7);
    Label16.hide();
    Label17.hide();
}

void PicturePanel::RadioButton18Click() {
    m_colour = Colour::White;
    showOnly(&Image8);
    Label16.hide();
    Label17.hide();
}

void PicturePanel::RadioButton20Click() {
    m_colour = Colour::ButtonFace;
    showOnly(nullptr);
    Label16.show();
    Label17.show();
}

} // namespace app
