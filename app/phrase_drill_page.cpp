// The page "词组练习": four categories, five phrase slots or the one-phrase panel over them, the
// rules memo and the hint column.

#include "binder.h"
#include "code_explanation_view.h"
#include "fonts.h"
#include "form.h"
#include "pages.h"
#include "widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace app {

namespace {

constexpr int kSlotLeft[] = {16, 136, 256, 376, 496};
constexpr int kBoxWidth = 89;

} // namespace

void buildPhraseDrillPage(QWidget* page, Form& form, Binder& binder) {
    drills::PhraseDrill& d = form.phrases;
    constexpr int kSlots = drills::PhraseDrill::kSlots;

    QFrame* panel6 = panel(page, QStringLiteral("Panel6"), QRect(8, 4, 601, 38), Bevel::Raised, Bevel::None);
    // The four categories, then "练错词".
    for (int n = d.RadioButton.first(); n <= d.RadioButton.last() + 1; ++n) {
        const int i = n - d.RadioButton.first();
        controls::RadioButton& c = n <= d.RadioButton.last() ? d.RadioButton[n] : d.RadioButton31;
        auto* r = place<QRadioButton>(panel6, c.name(), QRect(36 + i * 116, 9, 90, 20));
        r->setFont(fonts::song(13));
        categoryOption(r);
        binder.radio(c, r);
    }

    QFrame* panel8 = panel(page, QStringLiteral("Panel8"), QRect(8, 48, 601, 209), Bevel::Raised, Bevel::None);
    for (int n = 1; n <= kSlots; ++n) {
        // As wide as the column, so a phrase of any length shows whole, left-aligned as a label
        // sized to its text would be.
        auto* target = described(place<QLabel>(panel8, d.cz[n].name(), QRect(kSlotLeft[n - 1], 8, 118, 26)),
                                 QStringLiteral("目标词组%1").arg(n));
        target->setFont(fonts::song(21, true));
        setColours(target, kBlue);
        binder.label(d.cz[n], target);
    }
    // Created in tab order: the accepted boxes, the code boxes, the memo, the one-phrase panel.
    for (int n = 1; n <= kSlots; ++n) {
        // The learner may type here with the input method on; only the fifth box acts on it.
        auto* accepted = named(place<QLineEdit>(panel8, d.cztext[n].name(), QRect(kSlotLeft[n - 1], 36, kBoxWidth, 28)),
                               QStringLiteral("已打出的词组%1").arg(n));
        accepted->setFont(fonts::kai(20));
        setColours(accepted, kYellow, buttonShadow());
        binder.edit(d.cztext[n], accepted);
    }
    for (int n = 1; n <= kSlots; ++n)
        binder.edit(d.czt[n], named(codeBox(panel8, d.czt[n].name(), QRect(kSlotLeft[n - 1], 68, kBoxWidth, 24), 16),
                                    QStringLiteral("词组编码%1").arg(n)));
    rulesMemo(panel8, d.Memo2, QRect(16, 104, 569, 89), binder);

    // Which batch (or long phrase) of how many, in the strip under the memo, at its right.
    positionLabel(
        panel8, QStringLiteral("Label45"), QRect(16, 193, 569, 15), [&d] { return d.batchPosition(); }, binder,
        Qt::AlignRight | Qt::AlignVCenter);

    // Over the slots, not over the memo.
    QFrame* panel5 = panel(panel8, d.Panel5.name(), QRect(16, 9, 569, 86), Bevel::Raised, Bevel::None);
    setColours(panel5, windowText(), buttonFace());
    binder.visibility(d.Panel5, panel5);
    // Centred over the code box below it.
    auto* label24 =
        described(place<QLabel>(panel5, d.Label24.name(), QRect(8, 9, 553, 26)), QStringLiteral("目标词组"));
    label24->setFont(fonts::song(19, true));
    label24->setAlignment(Qt::AlignCenter);
    setColours(label24, kBlue);
    binder.label(d.Label24, label24);
    binder.edit(d.Edit18,
                named(codeBox(panel5, d.Edit18.name(), QRect(240, 40, kBoxWidth, 22), 14), QStringLiteral("词组编码")));
    // Under the box that holds capitals, over what lies below it (the memo, or the one-phrase panel).
    capitalsNotice(
        panel8, d.capsNotice, [&d] { return d.capitalsAt(); },
        [](int slot) {
            return slot >= 1 ? QRect(kSlotLeft[slot - 1], 68, kBoxWidth, 24)
                             : QRect(16 + 240, 9 + 40, kBoxWidth, 22); // Edit18, inside Panel5
        },
        binder);
    // In the same place, while the hint shows: the line on a wrong code.
    capitalsNotice(
        panel8, d.wrongCodeNote, [&d] { return d.wrongCodeAt(); },
        [](int slot) {
            return slot >= 1 ? QRect(kSlotLeft[slot - 1], 68, kBoxWidth, 24) : QRect(16 + 240, 9 + 40, kBoxWidth, 22);
        },
        binder, QStringLiteral("错码说明"));

    // The hint column.
    QFrame* panel14 = panel(page, QStringLiteral("Panel14"), QRect(619, 0, 86, 251), Bevel::Raised, Bevel::None);
    // The heading opens the page on the phrase code rules.
    auto* label20 = place<QLabel>(panel14, d.Label20.name(), QRect(4, 8, 78, 20));
    label20->setFont(fonts::song(14, true));
    label20->setAlignment(Qt::AlignCenter);
    binder.label(d.Label20, label20);
    binder.link(d.Label20, label20);

    hintColumnOptions(panel14, QStringLiteral("Panel15"), QRect(7, 34, 72, 56), d.RadioButton24, d.RadioButton25,
                      binder);

    QFrame* panel16 = panel(panel14, d.Panel16.name(), QRect(7, 98, 72, 146), Bevel::Lowered, Bevel::None);
    panel16->setFont(fonts::song(16));
    binder.visibility(d.Panel16, panel16);
    auto* zi2 = described(place<QLabel>(panel16, d.zi2.name(), QRect(12, 6, 49, 105)), QStringLiteral("答案提示词组"));
    zi2->setFont(fonts::kai(21, true));
    zi2->setWordWrap(true);
    zi2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setColours(zi2, kBlue);
    binder.label(d.zi2, zi2);
    auto* czts =
        described(place<QLabel>(panel16, d.czts.name(), QRect(2, 116, 68, 24)), QStringLiteral("答案提示编码"));
    czts->setFont(fonts::code(16));
    czts->setAlignment(Qt::AlignCenter);
    binder.label(d.czts, czts);
    // Between the phrase and its code: the letters each character gives.
    addPhraseExplanation(panel16, QRect(2, 80, 68, 34), form, binder);
}

} // namespace app
