#include "phrase_drill.h"

#include "counter.h"

namespace drills {

namespace {

// The rules memo's line 0 (the rule) and line 3 (an example) for each category, RadioButton7-10.
// clang-format off
const char* const kMemo[kPhraseCategories + 1][2] = {
    {"☆两字词：第一字的第一、二码 ＋  第二字的第一、二码",
     "例如：继续(XOXF)  --  继(XON)、续(XFND)"},
    {"☆三字词：第一字的第一码 ＋ 第二字的第一码 ＋ 第三字的第一、二码",
     "例如：计算机(YTSM) -- 计(YF)、算(THA)、机(SM)"},
    {"☆四字词：取每个字的第一码",
     "例如：知识分子(TYWB) -- 知(TD)、识(YKW)、分(WV)、子(BB)"},
    {"☆多字词：取第一、二、三字的第一码 ＋ 最后一字的第一码",
     "例如：中国人民银行(KLWT) -- 中(K)、国(L)、人(w)、行(TF)"},
};
// clang-format on

const QString kCode = QStringLiteral("n1");   // czwb.db: a phrase's code
const QString kPhrase = QStringLiteral("n2"); // czwb.db: the phrase; czzk.db: a batch's first phrase
const QString kBatch = QStringLiteral("n1");  // czzk.db: the batch or row number

QString batchField(int slot) {
    return QStringLiteral("n") + QString::number(slot + 1);
}

} // namespace

QStringList PhraseDrill::initialMemoLines() {
    return {QStringLiteral("词组拆码规则："),
            QString(),
            QStringLiteral("    (1) 两字词：第一字的第一、二码 ＋  第二字的第一、二码"),
            QStringLiteral("    (2) 三字词：第一字的第一码 ＋ 第二字的第一码 ＋ 第三字的第一、二码"),
            QStringLiteral("    (3) 四字词：取每个字的第一码"),
            QStringLiteral("    (4) 多字词：取第一、二、三字的第一码 ＋ 最后一字的第一码"),
            QString(),
            QString(),
            QString(),
            QString()};
}

PhraseDrill::PhraseDrill(controls::Focus& focus, lexicon::Table& table3, lexicon::Table& table4, PictureHints& pictures,
                         controls::Desktop& desktop)
    : RadioButton(
          kPhraseCategories + 1,
          [this](int n) {
              const int i = n - kFirstCategory;
              const char* caption = i < kPhraseCategories ? kPhraseCategory[i].caption : kLongPhrases.caption;
              return std::make_unique<controls::RadioButton>(QStringLiteral("RadioButton") + QString::number(n),
                                                             QString::fromUtf8(caption), Panel6);
          },
          kFirstCategory),
      cz(kSlots, controls::named<controls::Label>(QStringLiteral("cz"))),
      cztext(kSlots, controls::named<controls::Edit>(QStringLiteral("cztext"))),
      czt(kSlots, controls::named<controls::Edit>(QStringLiteral("czt"))),
      czh(kSlots, controls::named<controls::Edit>(QStringLiteral("czh"))),
      Memo2(QStringLiteral("Memo2"), initialMemoLines()), m_focus(focus), m_table3(table3), m_table4(table4),
      m_pictures(pictures), m_desktop(desktop) {
    Edit17.setText(QStringLiteral("99"));
    Edit20.setText(QStringLiteral("169"));
    Label20.setCaption(QStringLiteral("答案提示"));
    Button1.setCaption(QStringLiteral("Button1"));
    Button2.setCaption(QStringLiteral("Button2"));
    Button3.setCaption(QStringLiteral("Button3"));

    for (int n = 1; n <= kSlots; ++n) {
        czh[n].hide();
        czt[n].setMaxLength(4);
        czt[n].accepts = isCodeText;
        czt[n].onChange = [this, n] { cztChange(n); };
        czt[n].onEnter = [this, n] { cztEnter(n); };
        czt[n].onKeyPress = [this, n](QChar& key) { cztKeyPress(n, key); };
        czh[n].onChange = n < kSlots ? std::function<void()>([this, n] { czhChange(n); }) : [this] { czh5Change(); };
    }
    cztext[kSlots].onChange = [this] { cztext5Change(); };
    for (int n = kFirstCategory; n < kLongPhraseCategory; ++n)
        RadioButton[n].onClick = [this, n] { RadioButtonClick(n); };
    RadioButton[kLongPhraseCategory].onClick = [this] { RadioButton10Click(); };
    for (controls::Control* c : {static_cast<controls::Control*>(&Edit17), static_cast<controls::Control*>(&Edit19),
                                 static_cast<controls::Control*>(&Edit20), static_cast<controls::Control*>(&Button1),
                                 static_cast<controls::Control*>(&Button2), static_cast<controls::Control*>(&Button3)})
        c->hide();
    Edit17.onChange = [this] { Edit17Change(); };
    Button1.onClick = [this] { Button1Click(); };
    Button2.onClick = [this] { Button2Click(); };

    Edit18.setMaxLength(4);
    Edit18.accepts = isCodeText;
    Edit18.onChange = [this] { Edit18Change(); };
    Edit18.onKeyPress = [this](QChar& key) { Edit18KeyPress(key); };
    Edit19.onChange = [this] { Edit19Change(); };
    Edit20.onChange = [this] { Edit20Change(); };
    Button3.onClick = [this] { Button3Click(); };
    coverSlots(false);

    RadioButton24.onClick = [this] { RadioButton24Click(); };
    RadioButton25.onClick = [this] { RadioButton25Click(); };
    Label20.onClick = [this] { Label20Click(); };
}

// While the panel covers the slots, their boxes take neither the focus nor keys: a code typed
// into a box the learner cannot see would be lost, or complete a batch out of sight. The panel's
// own code box takes the focus only while the panel is shown.
void PhraseDrill::coverSlots(bool covered) {
    Panel5.setVisible(covered);
    Edit18.setEnabled(covered);
    for (int n = 1; n <= kSlots; ++n) {
        cztext[n].setEnabled(!covered);
        czt[n].setEnabled(!covered);
    }
}

// A table that could not be opened at start-up is tried again when a category is chosen, so the
// page works once the table is there. An open table is left alone: its current row is state.
void PhraseDrill::reopenIfClosed(lexicon::Table& table) {
    if (!table.isOpen() && !table.tableName().isEmpty())
        table.open(table.folder(), table.tableName());
}

void PhraseDrill::writeMemo(int category) {
    const auto& texts = kMemo[category - kFirstCategory];
    Memo2.setLine(0, QString::fromUtf8(texts[0]));
    Memo2.setLine(2, QString());
    Memo2.setLine(3, QString::fromUtf8(texts[1]));
    Memo2.setLine(4, QString());
    Memo2.setLine(5, QString());
}

void PhraseDrill::RadioButtonClick(int category) {
    try {
        reopenIfClosed(m_table3);
        reopenIfClosed(m_table4);
        coverSlots(false);
        const QString start = QString::number(kPhraseCategory[category - kFirstCategory].startBatch);
        // After a failure the counter may already hold the start batch, with nothing of it shown.
        if (Edit17.text() == start && cz[1].caption().isEmpty())
            Edit17Change();
        else
            Edit17.setText(start);
        Button2.click();
    } catch (const lexicon::TableError&) {
        // The category stays chosen, with its rules, and shows it cannot be practised.
        coverSlots(false);
        cannotPractise();
        writeMemo(category);
        m_pictures.show(KeyboardMap::Roots);
        throw;
    }
    writeMemo(category);
    m_pictures.show(KeyboardMap::Roots);
}

void PhraseDrill::RadioButton10Click() {
    try {
        reopenIfClosed(m_table3);
        reopenIfClosed(m_table4);
        coverSlots(true);
        const QString start = QString::number(kLongPhrases.startBatch);
        if (Edit20.text() == start && Label24.caption().isEmpty())
            Edit20Change();
        else
            Edit20.setText(start);
        Edit18.clear();
        m_focus.set(Edit18);
    } catch (const lexicon::TableError&) {
        coverSlots(true);
        cannotPractise();
        writeMemo(kLongPhraseCategory);
        m_pictures.show(KeyboardMap::Roots);
        throw;
    }
    writeMemo(kLongPhraseCategory);
    m_pictures.show(KeyboardMap::Roots);
}

// Phrases that cannot be loaded leave nothing half-loaded: the slots (or the one-phrase panel,
// whichever is in view) empty, no code box to type into and no hint, until a category is chosen
// again.
void PhraseDrill::cannotPractise() {
    for (int n = 1; n <= kSlots; ++n) {
        cz[n].setCaption(QString());
        cztext[n].setText(QString());
        czt[n].setText(QString());
        czh[n].setText(QString());
        czt[n].setEnabled(false);
        if (m_focus.has(czt[n]))
            m_focus.setOther();
    }
    Label24.setCaption(QString());
    Edit19.setText(QString());
    Edit18.setText(QString());
    Edit18.setEnabled(false);
    if (m_focus.has(Edit18))
        m_focus.setOther();
    czts.setCaption(QString());
    zi2.setCaption(QString());
}

void PhraseDrill::Edit17Change() {
    if (m_table4.locate(kBatch, Edit17.text()))
        cz[1].setCaption(m_table4.readTarget(batchField(1)));
    for (int n = 2; n <= kSlots; ++n)
        cz[n].setCaption(m_table4.readTarget(batchField(n)));
}

void PhraseDrill::cztChange(int slot) {
    // An empty code gives no phrase, whatever odd row the table may hold: clearing a box can then
    // never set off an acceptance.
    const QString code = czt[slot].text();
    if (code.isEmpty())
        return;
    if (m_table3.locate(kCode, code))
        czh[slot].setText(m_table3.read(kPhrase));
}

void PhraseDrill::czhChange(int slot) {
    const QString found = czh[slot].text();
    // An empty target accepts nothing: the emptied result box would match it again and again.
    if (found.isEmpty() || found != cz[slot].caption())
        return;
    cztext[slot].setText(found);
    czt[slot].clear();
    m_focus.set(czt[slot + 1]);
    czh[slot].clear();
}

void PhraseDrill::czh5Change() {
    const QString found = czh[kSlots].text();
    if (!found.isEmpty() && found == cz[kSlots].caption())
        cztext[kSlots].setText(found);
}

void PhraseDrill::cztext5Change() {
    const QString accepted = cztext[kSlots].text();
    if (!accepted.isEmpty() && accepted == cz[kSlots].caption())
        Button1.click();
}

void PhraseDrill::Button1Click() {
    try {
        Edit17.setText(nextNumber(Edit17.text()));
        Button2.click();
        bool jumped = false;
        for (const PhraseCategory& c : kPhraseCategory) {
            if (cz[kSlots].caption() == QString::fromUtf8(c.endMarker.text)) {
                Edit17.setText(QString::number(c.endMarker.jumpTo));
                jumped = true;
            }
        }
        // The clear step showed the hint for a batch that the jump has replaced: show the one for
        // the slot the learner types in now, so the hint never names a phrase that is not on show.
        if (jumped)
            for (int n = 1; n <= kSlots; ++n)
                if (m_focus.has(czt[n]))
                    cztEnter(n);
    } catch (const lexicon::TableError&) {
        cannotPractise();
        throw;
    }
}

void PhraseDrill::Button2Click() {
    for (int n = 1; n <= kSlots; ++n)
        czt[n].clear();
    for (int n = 1; n <= kSlots; ++n)
        cztext[n].clear();
    for (int n = 1; n <= kSlots; ++n)
        czh[n].clear();
    m_focus.set(czt[1]);
}

void PhraseDrill::cztEnter(int slot) {
    m_typingSlot = slot;
    showHint(cz[slot].caption());
}

void PhraseDrill::showHint(const QString& phrase) {
    try {
        // An empty phrase has no code to show, whatever odd row the table may hold.
        if (!phrase.isEmpty() && m_table3.locate(kPhrase, phrase))
            czts.setCaption(m_table3.read(kCode));
    } catch (const lexicon::TableError&) {
        // The hint shows the phrase without a code, never another phrase's code.
        czts.setCaption(QString());
        zi2.setCaption(phrase);
        throw;
    }
    zi2.setCaption(phrase);
}

void PhraseDrill::cztKeyPress(int slot, QChar& key) {
    if (key == QChar(27))
        czt[slot].setText(QString());
}

void PhraseDrill::RadioButton24Click() {
    Panel16.show();
    returnFocus();
}

void PhraseDrill::RadioButton25Click() {
    Panel16.hide();
    returnFocus();
}

void PhraseDrill::returnFocus() {
    // The learner's choice took the focus to the option; typing goes on in the code box it came
    // from (the long-phrase box while its panel is shown), with its half-typed code left as it was.
    if (!m_focus.has(RadioButton24) && !m_focus.has(RadioButton25))
        return;
    controls::Edit& box = Panel5.visible() ? Edit18 : czt[m_typingSlot];
    m_focus.set(box);
    box.setAllSelected(false);
}

void PhraseDrill::Label20Click() {
    m_desktop.openUrl(kPhraseCodeRulesUrl);
}

void PhraseDrill::Edit20Change() {
    if (m_table4.locate(kBatch, Edit20.text()))
        Label24.setCaption(m_table4.readTarget(kPhrase));
}

void PhraseDrill::Edit18Change() {
    const QString code = Edit18.text();
    if (!code.isEmpty() && m_table3.locate(kCode, code))
        Edit19.setText(m_table3.read(kPhrase));
    // After a right code the nested chain has loaded the next phrase: the hint shows that one.
    showHint(Label24.caption());
}

void PhraseDrill::Edit19Change() {
    const QString found = Edit19.text();
    if (found.isEmpty() || found != Label24.caption())
        return;
    Edit19.clear();
    Edit18.clear();
    m_focus.set(Edit18);
    Button3.click();
}

void PhraseDrill::Button3Click() {
    try {
        Edit20.setText(nextNumber(Edit20.text()));
        if (Label24.caption() == QString::fromUtf8(kLongPhrases.endMarker.text))
            Edit20.setText(QString::number(kLongPhrases.endMarker.jumpTo));
    } catch (const lexicon::TableError&) {
        cannotPractise();
        throw;
    }
}

void PhraseDrill::Edit18KeyPress(QChar& key) {
    if (key == QChar(27))
        Edit18.setText(QString());
}

} // namespace drills
