#pragma once
// A desktop theme of light text on dark grounds, as dark desktop themes have it, for checking that
// the window keeps its own colours under one.

#include <QColor>
#include <QPalette>

inline QPalette darkDesktopTheme() {
    QPalette p(QColor(0x35, 0x35, 0x35));
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, QColor(0x35, 0x35, 0x35));
        p.setColor(group, QPalette::WindowText, QColor(0xee, 0xee, 0xec));
        p.setColor(group, QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
        p.setColor(group, QPalette::Text, QColor(0xee, 0xee, 0xec));
        p.setColor(group, QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
        p.setColor(group, QPalette::ButtonText, QColor(0xee, 0xee, 0xec));
        p.setColor(group, QPalette::Light, QColor(0x50, 0x50, 0x50));
        p.setColor(group, QPalette::Dark, QColor(0x1e, 0x1e, 0x1e));
        p.setColor(group, QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    }
    return p;
}
