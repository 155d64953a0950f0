#include "character_drill.h"

#include "counter.h"

namespace drills {

namespace {

// The rules memo's lines 0, 2, 3, 4 and 5 for each category.
// clang-format off
const char* const kMemo[CharacterDrill::kCategories][5] = {
    {"☆键名汉字：(连击四次同一个键)",
     "    横起笔: 王土大木工  竖起笔: 目日口田山  撇起笔: 禾白月人金",
     "",
     "    捺起笔: 言立水火之  折起笔: 已子女又",
     ""},
    {"☆成字字根：(该字即作为一个字根，又是一个独立的字)",
     "    先击该字根所在的键，然后将该字根一笔一笔拆开后击键(横G、竖H、撇T、捺Y、折N)，如果多于",
     "",
     "两个笔画，则取第一、第二、和最后一笔；如果少于三个笔画，击完键后又不能出现该字，则补L键。",
     ""},
    {"☆高频字,也叫一级简码(击一键加空格）",
     "    横区：一地在要工   竖区：上是中国同   撇区：和的有人我",
     "",
     "    捺区：主产不为这   折区：民了发以经",
     ""},
    {"☆二级简码：",
     "    方法：每个汉字都取前两个字根加空格键。",
     "",
     "    如：“枯”字，取木(s)和古(d)加空格键就可打出字。",
     ""},
    {"☆三级简码：",
     "    方法：每个汉字都取前三个字根加空格键。",
     "",
     "    如：“瑚”字，取王(g)和古(d)月(e)加空格键就可打出字。",
     ""},
    {"☆末笔画识别码： 如果拆开击键后不能出现该字，则需要末笔画识别码。",
     "    末笔  杂合型  上下型  左右型   末笔  左右型  上下型  杂合型",
     "     撇：   E       R       T      捺：   Y       U       I",
     "     横：   D       F       G      竖：   H       J       K",
     "     折：   V       B       N"},
};
// clang-format on

const int kMemoLineIndexes[5] = {0, 2, 3, 4, 5};

QString field(const char* prefix, int n) {
    return QLatin1String(prefix) + QString::number(n);
}

} // namespace

QStringList CharacterDrill::initialMemoLines() {
    return {QStringLiteral("☆五种基本笔画分类:"),
            QString(),
            QStringLiteral("    横区：G F D S A    竖区：H J K L M   撇区：T R E W Q"),
            QString(),
            QStringLiteral("    捺(点)区：Y U I O P   折区：N B V C X "),
            QString()};
}

CharacterDrill::CharacterDrill(controls::Focus& focus, lexicon::Table& table1, lexicon::Table& table2,
                               QString dataFolder, PictureHints& pictures)
    : RadioButton(kCategories,
                  [this](int n) {
                      return std::make_unique<controls::RadioButton>(
                          QStringLiteral("RadioButton") + QString::number(n),
                          QString::fromUtf8(kCharacterCategory[n - 1].caption), GroupBox1);
                  }),
      Label(kSlots, controls::named<controls::Label>(QStringLiteral("Label"))),
      Edit(kSlots, controls::named<controls::Edit>(QStringLiteral("Edit"))),
      Ed(kSlots, controls::named<controls::Edit>(QStringLiteral("Ed"))),
      h(kSlots, controls::named<controls::Edit>(QStringLiteral("h"))),
      Memo1(QStringLiteral("Memo1"), initialMemoLines()), m_focus(focus), m_table1(table1), m_table2(table2),
      m_dataFolder(std::move(dataFolder)), m_pictures(pictures) {
    edit16.setText(QStringLiteral("099"));
    dats.setCaption(QStringLiteral("答案提示"));

    for (int n = 1; n <= kSlots; ++n) {
        h[n].hide();
        Ed[n].setMaxLength(4);
        Ed[n].accepts = isCodeText;
        Ed[n].onChange = [this, n] { EdChange(n); };
        Ed[n].onEnter = [this, n] { EdEnter(n); };
        Ed[n].onKeyPress = [this, n](QChar& key) { EdKeyPress(n, key); };
        h[n].onChange = n < kSlots ? std::function<void()>([this, n] { hChange(n); }) : [this] { h15Change(); };
    }
    Edit[kSlots].onChange = [this] { Edit15Change(); };
    for (int n = 1; n <= kCategories; ++n)
        RadioButton[n].onClick = [this, n] { RadioButtonClick(n); };
    edit16.hide();
    edit16.onChange = [this] { edit16Change(); };
    for (controls::Button* b : {&Button8, &Button9, &Button10})
        b->hide();
    Button8.onClick = [this] { Button8Click(); };
    Button9.onClick = [this] { Button9Click(); };
    Button10.onClick = [this] { Button10Click(); };
    RadioButton22.onClick = [this] { RadioButton22Click(); };
    RadioButton23.onClick = [this] { RadioButton23Click(); };
}

void CharacterDrill::RadioButtonClick(int category) {
    const CharacterCategory& c = kCharacterCategory[category - 1];
    try {
        for (int n = 1; n <= kSlots; ++n)
            Ed[n].setEnabled(true);
        m_table1.close();
        m_table1.open(m_dataFolder, QLatin1String(c.codeTable));
        const QString start = QString::number(c.startBatch);
        // After a failure the counter may already hold the start batch, with nothing of it shown.
        if (edit16.text() == start && Label[1].caption().isEmpty())
            edit16Change();
        else
            edit16.setText(start);
        Button10.click();
    } catch (const lexicon::TableError&) {
        // The category stays chosen, with its rules and its map, and shows it cannot be practised.
        cannotPractise();
        showRules(category);
        throw;
    }
    showRules(category);
}

void CharacterDrill::showRules(int category) {
    for (int i = 0; i < 5; ++i)
        Memo1.setLine(kMemoLineIndexes[i], QString::fromUtf8(kMemo[category - 1][i]));
    m_pictures.show(kCharacterCategory[category - 1].map);
}

// A batch that cannot be loaded leaves no half-loaded slots: every slot empty, no code box to type
// into, no hint, until a category is chosen again.
void CharacterDrill::cannotPractise() {
    for (int n = 1; n <= kSlots; ++n) {
        Label[n].setCaption(QString());
        Edit[n].setText(QString());
        Ed[n].setText(QString());
        h[n].setText(QString());
        Ed[n].setEnabled(false);
        if (m_focus.has(Ed[n]))
            m_focus.setOther();
    }
    Panel13.setCaption(QString());
    zi.setCaption(QString());
}

void CharacterDrill::edit16Change() {
    if (m_table2.locate(QStringLiteral("no"), edit16.text()))
        Label[1].setCaption(m_table2.readTarget(QStringLiteral("n1")));
    for (int n = 2; n <= kSlots; ++n)
        Label[n].setCaption(m_table2.readTarget(field("n", n)));
}

void CharacterDrill::EdChange(int slot) {
    // An empty code produces nothing: typing nothing never yields a character, whatever odd row
    // the table may hold, so clearing a box can never set off an acceptance.
    if (Ed[slot].text().isEmpty())
        return;
    if (m_table1.locate(QStringLiteral("dm"), Ed[slot].text()))
        h[slot].setText(m_table1.read(QStringLiteral("hz")));
}

void CharacterDrill::hChange(int slot) {
    const QString& found = h[slot].text();
    // An empty target accepts nothing: the emptied result box would match it again and again.
    if (found.isEmpty() || found != Label[slot].caption())
        return;
    Edit[slot].setText(found);
    Ed[slot].clear();
    m_focus.set(Ed[slot + 1]);
    h[slot].clear();
}

void CharacterDrill::h15Change() {
    const QString& found = h[kSlots].text();
    if (!found.isEmpty() && found == Label[kSlots].caption())
        Edit[kSlots].setText(found);
}

void CharacterDrill::Edit15Change() {
    const QString& accepted = Edit[kSlots].text();
    if (!accepted.isEmpty() && accepted == Label[kSlots].caption())
        Button9.click();
}

void CharacterDrill::Button9Click() {
    try {
        edit16.setText(nextNumber(edit16.text()));
        Button8.click();
        bool jumped = false;
        for (const EndMarker& marker : kCharacterEndMarkers) {
            if (Label[kSlots].caption() == QString::fromUtf8(marker.text)) {
                edit16.setText(QString::number(marker.jumpTo));
                jumped = true;
            }
        }
        // The clear step showed the hint for a batch that the jump has replaced: show the one for
        // the slot the learner types in now, so the hint never names a character that is not on
        // show.
        if (jumped)
            for (int n = 1; n <= kSlots; ++n)
                if (m_focus.has(Ed[n]))
                    EdEnter(n);
    } catch (const lexicon::TableError&) {
        cannotPractise();
        throw;
    }
}

void CharacterDrill::clearSlots(bool allCodeBoxes) {
    for (int n = 1; n <= kSlots; ++n)
        Edit[n].clear();
    if (allCodeBoxes) {
        for (int n = 1; n <= kSlots; ++n)
            Ed[n].clear();
    } else {
        Ed[kSlots].clear();
    }
    for (int n = 1; n <= kSlots; ++n)
        h[n].clear();
    m_focus.set(Ed[1]);
}

void CharacterDrill::Button8Click() {
    clearSlots(false);
}

void CharacterDrill::Button10Click() {
    clearSlots(true);
}

void CharacterDrill::EdEnter(int slot) {
    m_typingSlot = slot;
    const QString& target = Label[slot].caption();
    try {
        if (m_table1.locate(QStringLiteral("hz"), target))
            Panel13.setCaption(m_table1.read(QStringLiteral("dm")));
    } catch (const lexicon::TableError&) {
        // The hint shows the slot in focus without a code, never another slot's code.
        Panel13.setCaption(QString());
        zi.setCaption(target);
        throw;
    }
    zi.setCaption(target);
}

void CharacterDrill::EdKeyPress(int slot, QChar& key) {
    if (key == QChar(27))
        Ed[slot].setText(QString());
}

void CharacterDrill::RadioButton22Click() {
    Panel13.show();
    returnFocus();
}

void CharacterDrill::RadioButton23Click() {
    Panel13.hide();
    returnFocus();
}

void CharacterDrill::returnFocus() {
    // The learner's choice took the focus to the option; typing goes on in the code box it came
    // from, with its half-typed code left as it was.
    if (!m_focus.has(RadioButton22) && !m_focus.has(RadioButton23))
        return;
    m_focus.set(Ed[m_typingSlot]);
    Ed[m_typingSlot].setAllSelected(false);
}

} // namespace drills
