#include "root_drill.h"

namespace drills {

namespace {

// Item n shows picture kPicture[n - 1] and expects kKeys[n - 1]. Pictures are grouped by key
// (G 1-5, F 6-13, ... X 190-195); the items mix the groups, and a cycle shows every picture once.
// clang-format off
const short kPicture[RootDrill::kItems] = {
    1, 92, 43, 124, 35, 76, 27, 8, 69, 10, 111, 52, 153, 140, 15,
    126, 55, 168, 45, 146, 99, 86, 160, 192, 3, 185, 116, 60, 9, 178,
    28, 150, 71, 131, 172, 46, 87, 108, 36, 14, 145, 97, 25, 65, 104,
    156, 190, 136, 183, 53, 184, 22, 123, 49, 163, 29, 37, 127, 88, 56,
    109, 2, 72, 67, 188, 100, 147, 151, 179, 137, 83, 167, 191, 17, 117,
    57, 30, 110, 152, 157, 77, 128, 66, 38, 89, 6, 139, 5, 47, 148,
    169, 101, 84, 54, 180, 26, 90, 193, 118, 33, 11, 82, 158, 129, 39,
    186, 159, 119, 170, 20, 130, 58, 138, 73, 171, 91, 161, 112, 40, 154,
    187, 74, 173, 24, 59, 31, 68, 7, 141, 81, 4, 162, 93, 61, 194,
    42, 120, 98, 48, 132, 174, 79, 181, 102, 16, 107, 70, 18, 75, 41,
    195, 19, 62, 164, 21, 32, 103, 165, 142, 78, 175, 155, 94, 12, 50,
    135, 113, 176, 34, 114, 44, 133, 13, 63, 149, 189, 95, 177, 51, 121,
    105, 23, 182, 122, 144, 64, 166, 96, 134, 106, 115, 125, 80, 143, 85,
};
const char kKeys[] =
    "GEHYAQSFMFTKPID" "ULBJORWNXGCYLFV" "APQUBJWTHDOESMR" "NXIVKCDYJNAHUEL" "TGQMCROPVIWBXDY"
    "LATPNQUMHEFIGJO" "BRWKVSEXYAFQNUH" "CNYBDULIQBENTHP" "CQBDLAMFIQGNELX" "HYEJUBQVRDRMDQH"
    "XDLNDARNIQBPEFJ" "UTBATHUFLOCEBJY" "RDVYILNEURTYQIW";
// clang-format on
static_assert(sizeof(kKeys) == RootDrill::kItems + 1);

} // namespace

int RootDrill::picture(int item) {
    return kPicture[item - 1];
}

QChar RootDrill::key(int item) {
    return QLatin1Char(kKeys[item - 1]);
}

RootDrill::RootDrill(controls::Focus& focus, PictureHints& pictures)
    : zigen(kPictures, controls::named<controls::Control>(QStringLiteral("zigen"))), m_focus(focus),
      m_pictures(pictures), m_pattern({Edit22, Edit21, Button7, zigenLabel, &Button11}, QLatin1String(kKeys),
                                      [this](int item) { zigen[picture(item)].show(); }) {
    // Loaded as item 1 without running the load: only its picture is visible.
    for (int n = 2; n <= kPictures; ++n)
        zigen[n].hide();
    Edit22.setText(QStringLiteral("1"));
    zigenLabel.setCaption(QString(key(1)));
    Button7.setCaption(QStringLiteral("Button7"));
    Button11.setCaption(QStringLiteral("Button11"));
    Button13.setCaption(QStringLiteral("重新开始"));
    RadioButton26.check();

    Edit22.onChange = [this] { Edit22Change(); };
    Edit21.onChange = [this] { Edit21Change(); };
    Button7.onClick = [this] { Button7Click(); };
    Button11.onClick = [this] { Button11Click(); };
    Button13.onClick = [this] { Button13Click(); };
    RadioButton26.onClick = [this] { RadioButton26Click(); };
    RadioButton27.onClick = [this] { RadioButton27Click(); };
}

void RootDrill::Edit22Change() {
    m_pattern.counterChange();
}

void RootDrill::Edit21Change() {
    m_pattern.entryChange();
}

void RootDrill::Button7Click() {
    m_pattern.advanceClick();
}

void RootDrill::Button11Click() {
    for (int n = 1; n <= kPictures; ++n)
        zigen[n].hide();
}

void RootDrill::Button13Click() {
    Button11.click();
    zigen[1].show();
    Edit22.setText(QStringLiteral("1"));
    Edit21.clear();
    m_focus.set(Edit21);
    m_pictures.show(KeyboardMap::Roots);
}

void RootDrill::TabSheet6Show() {
    Edit21.clear();
    m_focus.set(Edit21);
    m_pictures.show(KeyboardMap::Roots);
}

void RootDrill::RadioButton26Click() {
    zigenLabel.show();
    m_focus.set(Edit21);
    Edit21.setAllSelected(true);
}

void RootDrill::RadioButton27Click() {
    zigenLabel.hide();
    m_focus.set(Edit21);
    Edit21.setAllSelected(true);
}

} // namespace drills
