#include "phrase_drill.h"

#include "counter.h"
#include "wrong_code.h"

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

// The batch markers, tested in this order after every advance.
QList<EndMarker> batchEndMarkers() {
    QList<EndMarker> markers;
    for (const PhraseCategory& c : kPhraseCategory)
        markers << c.endMarker;
    return markers;
}

// The categories' cycles in the order of their buttons, then the long phrases' (a row each).
QList<BatchCycles::Cycle> categoryCycles() {
    const lexicon::schema::BatchTable& f = lexicon::schema::kPhraseBatches;
    QList<BatchCycles::Cycle> cycles;
    for (const PhraseCategory& c : kPhraseCategory)
        cycles.append({batchRange(c), f.targets.last(), QString::fromUtf8(c.endMarker.text)});
    cycles.append({batchRange(kLongPhrases), f.targets.first(), QString::fromUtf8(kLongPhrases.endMarker.text)});
    return cycles;
}

} // namespace

QStringList PhraseDrill::memoLines(int category) {
    const auto& texts = kMemo[category - kFirstCategory];
    QStringList lines = initialMemoLines();
    lines[0] = QString::fromUtf8(texts[0]);
    lines[2] = lines[4] = lines[5] = QString();
    lines[3] = QString::fromUtf8(texts[1]);
    return lines;
}

QStringList PhraseDrill::reviewMemoLines(const MissedItems& missed, bool done) {
    QStringList lines = initialMemoLines();
    lines[0] = QStringLiteral("☆练错词：本次打错的词组，每批5个；在这里连续打对%1次的词即移出。")
                   .arg(MissedItems::kRightInARow);
    lines[2] = QStringLiteral("    算打错：编码打满位数仍打不出该词，或在“不提示”时改选“提示”看了编码。");
    lines[3] = QStringLiteral("    错词只存在内存里，关闭窗口即清空。");
    if (!missed.isEmpty())
        lines[4] = QStringLiteral("    现有错词%1个：%2")
                       .arg(missed.size())
                       .arg(missed.items().mid(0, 8).join(QStringLiteral("、")));
    else if (done)
        lines[4] = QStringLiteral("    错词都已练对，没有要练的词了。");
    else
        lines[4] = QStringLiteral("    还没有打错的词，没有要练的词。");
    lines[5] = QString();
    return lines;
}

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

PhraseDrill::PhraseDrill(controls::Focus& focus, lexicon::Table& codes, lexicon::Table& batches, PictureHints& pictures,
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
      Memo2(QStringLiteral("Memo2"), initialMemoLines()), m_focus(focus), m_codes(codes), m_batches(batches),
      m_pictures(pictures), m_desktop(desktop),
      m_slots({cz, cztext, czt, czh, Edit17, Button1, Button2, Panel16, czts, zi2, RadioButton24, RadioButton25,
               capsNotice},
              {codes, lexicon::schema::kPhraseCodes, batches, lexicon::schema::kPhraseBatches}, focus,
              batchEndMarkers(), missed, [this] { emptyPanel(); }),
      m_cycles(categoryCycles()) {
    Edit17.setText(QStringLiteral("99"));
    Edit20.setText(QStringLiteral("169"));
    Label20.setCaption(QStringLiteral("答案提示"));
    Button1.setCaption(QStringLiteral("Button1"));
    Button2.setCaption(QStringLiteral("Button2"));
    Button3.setCaption(QStringLiteral("Button3"));

    for (int n = 1; n <= kSlots; ++n) {
        czt[n].onChange = [this, n] { cztChange(n); };
        czt[n].onEnter = [this, n] { cztEnter(n); };
        czt[n].onKeyPress = [this, n](QChar& key) { cztKeyPress(n, key); };
        czh[n].onChange = n < kSlots ? std::function<void()>([this, n] { czhChange(n); }) : [this] { czh5Change(); };
    }
    cztext[kSlots].onChange = [this] { cztext5Change(); };
    for (int n = kFirstCategory; n < kLongPhraseCategory; ++n)
        RadioButton[n].onClick = [this, n] { RadioButtonClick(n); };
    RadioButton[kLongPhraseCategory].onClick = [this] { RadioButton10Click(); };
    RadioButton31.onClick = [this] { RadioButton31Click(); };
    m_slots.setWrongCodeNote(wrongCodeNote, [this](const SlotDrill::Miss& m) {
        if (!m_explainer)
            m_explainer = std::make_unique<CodeExplainer>(m_codes.folder());
        WrongCode w{m.typed, m.gives, m.target, m.targetCode, m_explainer->phrase(m.target, m.targetCode), {}};
        if (!m.gives.isEmpty())
            w.givesExplanation = m_explainer->phrase(m.gives, m.typed);
        return wrongCodeText(w);
    });
    missed.onChange = [this] {
        if (RadioButton31.isChecked())
            writeReviewMemo();
    };
    Edit17.onChange = [this] { Edit17Change(); };
    Button1.onClick = [this] { Button1Click(); };
    Button2.onClick = [this] { Button2Click(); };

    Edit19.hide();
    Edit20.hide();
    Button3.hide();
    Edit18.setMaxLength(lexicon::schema::kLongestCode);
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
    writeRulesMemo(Memo2, memoLines(category));
}

void PhraseDrill::RadioButtonClick(int category) {
    choose(category, [&] { m_slots.start(kPhraseCategory[category - kFirstCategory].startBatch, Button2); });
}

void PhraseDrill::RadioButton10Click() {
    choose(kLongPhraseCategory, [this] {
        m_slots.leaveReview();
        restartCounter(Edit20, QString::number(kLongPhrases.startBatch), !Label24.caption().isEmpty(),
                       [this] { Edit20Change(); });
        Edit18.clear();
        m_focus.set(Edit18);
    });
}

void PhraseDrill::RadioButton31Click() {
    m_slots.choose(
        [this] {
            coverSlots(false);
            reopenIfClosed(m_codes);
            m_slots.startReview(Button2);
        },
        [this] { showReviewRules(); });
}

void PhraseDrill::showReviewRules() {
    writeReviewMemo();
    m_pictures.show(KeyboardMap::Roots);
}

void PhraseDrill::writeReviewMemo() {
    writeRulesMemo(Memo2, reviewMemoLines(missed, missed.allTypedRight()));
}

void PhraseDrill::choose(int category, const std::function<void()>& load) {
    m_slots.choose(
        [&] {
            coverSlots(category == kLongPhraseCategory);
            reopenIfClosed(m_codes);
            reopenIfClosed(m_batches);
            load();
            m_cycles.read(m_batches, lexicon::schema::kPhraseBatches.number);
        },
        [&] {
            writeMemo(category);
            m_pictures.show(KeyboardMap::Roots);
        });
}

// Phrases that cannot be loaded leave nothing half-loaded: besides the slots, the one-phrase
// panel empty, its code box out of reach.
void PhraseDrill::emptyPanel() {
    Label24.setCaption(QString());
    Edit19.setText(QString());
    Edit18.setText(QString());
    Edit18.setEnabled(false);
    if (m_focus.has(Edit18))
        m_focus.setOther();
}

HintExplanation::InView PhraseDrill::hintInView(PhrasePlace place) const {
    const QString phrase = zi2.caption();
    const bool panel = place != PhrasePlace::LongPhrasePanel || Panel5.visible();
    const bool hint = Panel16.visible() && panel && phrasePlace(phrase) == place;
    return {hint ? phrase : QString(), czts.caption()};
}

QString PhraseDrill::batchPosition() const {
    if (RadioButton[kLongPhraseCategory].isChecked())
        return Label24.caption().isEmpty() ? QString()
                                           : m_cycles.position(kPhraseCategories, Edit20.text(), QStringLiteral("个"));
    if (cz[1].caption().isEmpty())
        return QString();
    if (RadioButton31.isChecked())
        return reviewPosition(Edit17.text(), missed.batchesPerRound(kSlots));
    for (int n = kFirstCategory; n < kLongPhraseCategory; ++n)
        if (RadioButton[n].isChecked())
            return m_cycles.position(n - kFirstCategory, Edit17.text(), QStringLiteral("批"));
    return QString();
}

void PhraseDrill::Label20Click() {
    m_desktop.openUrl(kPhraseCodeRulesUrl);
}

void PhraseDrill::Edit20Change() {
    const lexicon::schema::BatchTable& rows = lexicon::schema::kPhraseBatches;
    if (m_batches.locate(rows.number, Edit20.text()))
        Label24.setCaption(m_batches.readTarget(rows.targets[0]));
}

void PhraseDrill::Edit18Change() {
    m_slots.noteCapitals(Edit18, 0);
    m_slots.lookUp(Edit18.text(), Edit19, 0, Label24.caption());
    // After a right code the nested chain has loaded the next phrase: the hint shows that one.
    m_slots.showHint(Label24.caption());
}

void PhraseDrill::Edit19Change() {
    const QString found = Edit19.text();
    if (!isTarget(found, Label24.caption()))
        return;
    m_slots.accepted(0, found);
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
        m_slots.cannotPractise();
        throw;
    }
}

} // namespace drills
