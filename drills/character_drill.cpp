#include "character_drill.h"

#include "wrong_code.h"

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
     // Both halves in one column order: left-right, top-bottom, mixed (the identification
     // code's second digit 1, 2, 3).
     "    末笔  左右型  上下型  杂合型   末笔  左右型  上下型  杂合型",
     "     撇：   T       R       E      捺：   Y       U       I",
     "     横：   G       F       D      竖：   H       J       K",
     "     折：   N       B       V"},
};
// clang-format on

QList<BatchCycles::Cycle> categoryCycles() {
    QList<BatchCycles::Cycle> cycles;
    for (const CharacterCategory& c : kCharacterCategory)
        cycles.append(
            {batchRange(c), lexicon::schema::kCharacterBatches.targets.last(), QString::fromUtf8(c.endMarker)});
    return cycles;
}

} // namespace

QStringList CharacterDrill::memoLines(int category) {
    QStringList lines = initialMemoLines();
    // The category's row above, in the order of the lines it writes.
    for (std::size_t i = 0; i < std::size(kRulesMemoLines); ++i)
        lines[kRulesMemoLines[i]] = QString::fromUtf8(kMemo[category - 1][i]);
    return lines;
}

QStringList CharacterDrill::initialMemoLines() {
    return {QStringLiteral("☆五种基本笔画分类:"),
            QString(),
            QStringLiteral("    横区：G F D S A    竖区：H J K L M   撇区：T R E W Q"),
            QString(),
            QStringLiteral("    捺(点)区：Y U I O P   折区：N B V C X "),
            QString()};
}

QStringList CharacterDrill::reviewMemoLines(const MissedItems& missed, bool done) {
    QStringList lines = initialMemoLines();
    lines[0] = QStringLiteral("☆练错字：本次打错的字，每批15个；在这里连续打对%1次的字即移出。")
                   .arg(MissedItems::kRightInARow);
    lines[2] = QStringLiteral("    算打错：编码打满位数仍打不出该字，或在“不提示”时改选“提示”看了编码；");
    lines[3] = QStringLiteral("    打字测试中标×的字也算。错字只存在内存里，关闭窗口即清空。");
    if (!missed.isEmpty())
        lines[4] =
            QStringLiteral("    现有错字%1个：%2").arg(missed.size()).arg(missed.items().mid(0, 30).join(QString()));
    else if (done)
        lines[4] = QStringLiteral("    错字都已练对，没有要练的字了。");
    else
        lines[4] = QStringLiteral("    还没有打错的字，没有要练的字。");
    lines[5] = QString();
    return lines;
}

CharacterDrill::CharacterDrill(controls::Focus& focus, lexicon::Table& codes, lexicon::Table& batches,
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
      Memo1(QStringLiteral("Memo1"), initialMemoLines()), m_codes(codes), m_batches(batches),
      m_dataFolder(std::move(dataFolder)), m_pictures(pictures), m_explainer(m_dataFolder),
      m_slots({Label, Edit, Ed, h, edit16, Button9, Button8, Panel13, Panel13, zi, RadioButton22, RadioButton23,
               capsNotice},
              {codes, lexicon::schema::kCharacterCodes, batches, lexicon::schema::kCharacterBatches}, focus,
              QList<EndMarker>(std::begin(kCharacterEndMarkers), std::end(kCharacterEndMarkers)), missed),
      m_cycles(categoryCycles()) {
    edit16.setText(QStringLiteral("099"));
    dats.setCaption(QStringLiteral("答案提示"));
    Button10.hide();

    for (int n = 1; n <= kSlots; ++n) {
        Ed[n].onChange = [this, n] { EdChange(n); };
        Ed[n].onEnter = [this, n] { EdEnter(n); };
        Ed[n].onKeyPress = [this, n](QChar& key) { EdKeyPress(n, key); };
        h[n].onChange = n < kSlots ? std::function<void()>([this, n] { hChange(n); }) : [this] { h15Change(); };
    }
    Edit[kSlots].onChange = [this] { Edit15Change(); };
    for (int n = 1; n <= kCategories; ++n)
        RadioButton[n].onClick = [this, n] { RadioButtonClick(n); };
    RadioButton30.onClick = [this] { RadioButton30Click(); };
    m_slots.setWrongCodeNote(wrongCodeNote, [this](const SlotDrill::Miss& m) {
        WrongCode w{m.typed, m.gives, m.target, m.targetCode, m_explainer.character(m.target), {}};
        if (!m.gives.isEmpty())
            w.givesExplanation = m_explainer.character(m.gives);
        return wrongCodeText(w);
    });
    missed.onChange = [this] {
        if (RadioButton30.isChecked())
            writeReviewMemo();
    };
    edit16.onChange = [this] { edit16Change(); };
    Button8.onClick = [this] { Button8Click(); };
    Button9.onClick = [this] { Button9Click(); };
    Button10.onClick = [this] { Button10Click(); };
    RadioButton22.onClick = [this] { RadioButton22Click(); };
    RadioButton23.onClick = [this] { RadioButton23Click(); };
}

void CharacterDrill::RadioButtonClick(int category) {
    const CharacterCategory& c = kCharacterCategory[category - 1];
    m_slots.choose(
        [&] {
            m_codes.close();
            m_codes.open(m_dataFolder, QLatin1String(c.codeTable));
            m_slots.start(c.startBatch, Button10);
            m_cycles.read(m_batches, lexicon::schema::kCharacterBatches.number);
        },
        [&] { showRules(category); });
}

QString CharacterDrill::batchPosition() const {
    if (Label[1].caption().isEmpty())
        return QString();
    if (RadioButton30.isChecked())
        return reviewPosition(edit16.text(), missed.batchesPerRound(kSlots));
    for (int n = 1; n <= kCategories; ++n)
        if (RadioButton[n].isChecked())
            return m_cycles.position(n - 1, edit16.text(), QStringLiteral("批"));
    return QString();
}

void CharacterDrill::showRules(int category) {
    writeRulesMemo(Memo1, memoLines(category));
    m_pictures.show(kCharacterCategory[category - 1].map);
}

void CharacterDrill::RadioButton30Click() {
    // Every code is looked up in wb.db, as in the categories that type full codes.
    m_slots.choose(
        [this] {
            if (m_codes.tableName() != QLatin1String(lexicon::schema::kCharacterCodeFile) || !m_codes.isOpen()) {
                m_codes.close();
                m_codes.open(m_dataFolder, QLatin1String(lexicon::schema::kCharacterCodeFile));
            }
            m_slots.startReview(Button10);
        },
        [this] { showReviewRules(); });
}

void CharacterDrill::showReviewRules() {
    writeReviewMemo();
    m_pictures.show(KeyboardMap::Roots);
}

void CharacterDrill::writeReviewMemo() {
    writeRulesMemo(Memo1, reviewMemoLines(missed, missed.allTypedRight()));
}

HintExplanation::InView CharacterDrill::hintInView() const {
    // Only while the hint shows a code: the hint panel hidden, or no target yet, shows none.
    const bool hint = Panel13.visible() && !zi.caption().isEmpty();
    return {hint ? zi.caption() : QString(), Panel13.caption()};
}

void CharacterDrill::practise(const QString& characters) {
    for (QChar c : characters)
        if (!c.isSpace())
            missed.missed(QString(c));
    if (RadioButton30.isChecked())
        RadioButton30Click();
    else
        RadioButton30.check();
}

} // namespace drills
