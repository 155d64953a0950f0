#include "mnemonic_drill.h"

namespace drills {

namespace {

// Item n's key is kKeys[n - 1]; each letter A-Y once.
const char kKeys[] = "GNTWIHRKVMDJXSQBUACPFYLOE";

// The verses in item order; "\r" breaks a verse into lines (the label shows each as a new line).
// clang-format off
const char* const kVerses[MnemonicDrill::kItems] = {
    "王旁青头戋五一",
    "已半巳满不出己\r左框折尸心和羽",
    "禾竹一撇双人立\r反文条头共三一",
    "人和八，三四里",
    "水旁兴头小倒立",
    "目具上止卜虎皮",
    "白手看头三二斤",
    "口与川，字根稀",
    "女刀九臼山朝西",
    "山由贝，下框几",
    "大犬三羊古石厂",
    "日早两竖与虫依",
    "慈母无心弓和匕\r幼无力",
    "   木丁西",
    "金勺缺点无尾鱼\r犬旁留乂儿一点\r夕，氏无七", // the root 乂, as the mnemonic chart reads
    "子耳了也框向上",
    "立辛两点六门病",
    "工戈草头右框七",
    "又巴马，丢矢矣", // 矣 without its 矢 leaves the root 厶, as the mnemonic chart reads
    "之字军盖道建底\r摘示衣",
    "土士二干十寸雨",
    "言文方广在四一\r高头一捺谁人去",
    "田甲方框四车力",
    "火业头，四点米",
    "月衫乃用家衣底",
};
// clang-format on

} // namespace

QChar MnemonicDrill::key(int item) {
    return QLatin1Char(kKeys[item - 1]);
}

QString MnemonicDrill::verse(int item) {
    return QString::fromUtf8(kVerses[item - 1]);
}

MnemonicDrill::MnemonicDrill(controls::Focus& focus, PictureHints& pictures)
    : m_focus(focus), m_pictures(pictures),
      m_pattern({Edit24, Edit23, Button14, Label35, nullptr}, QLatin1String(kKeys),
                [this](int item) { Label33.setCaption(verse(item)); }) {
    // Loaded as item 1 without running the load.
    Edit24.setText(QStringLiteral("1"));
    Label35.setCaption(QString(key(1)));
    Label33.setCaption(verse(1));
    Button14.setCaption(QStringLiteral("Button14"));
    RadioButton28.check();

    Edit24.onChange = [this] { Edit24Change(); };
    Edit23.onChange = [this] { Edit23Change(); };
    Button14.onClick = [this] { Button14Click(); };
    RadioButton28.onClick = [this] { RadioButton28Click(); };
    RadioButton29.onClick = [this] { RadioButton29Click(); };
}

void MnemonicDrill::Edit24Change() {
    m_pattern.counterChange();
}

void MnemonicDrill::Edit23Change() {
    m_pattern.entryChange();
}

void MnemonicDrill::Button14Click() {
    m_pattern.advanceClick();
}

void MnemonicDrill::TabSheet7Show() {
    m_pictures.show(KeyboardMap::Roots);
    Edit23.clear();
    m_focus.set(Edit23);
}

void MnemonicDrill::RadioButton28Click() {
    Label35.show();
    Edit23.clear();
    m_focus.set(Edit23);
}

void MnemonicDrill::RadioButton29Click() {
    Label35.hide();
    Edit23.clear();
    m_focus.set(Edit23);
}

} // namespace drills
