// The page "单字练习": the six categories, fifteen slots, the rules memo and the hint column.

#include "binder.h"
#include "code_explanation_view.h"
#include "fonts.h"
#include "form.h"
#include "pages.h"
#include "widgets.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace app {

namespace {
constexpr int kSlotLeft = 5;
constexpr int kSlotPitch = 40; // the columns stand 40 px apart
constexpr int kSlotWidth = 36;
} // namespace

void buildCharacterDrillPage(QWidget* page, Form& form, Binder& binder) {
    drills::CharacterDrill& d = form.characters;

    auto* group = place<QGroupBox>(page, QStringLiteral("GroupBox1"), QRect(8, 0, 609, 40));
    // The six categories, then "练错字".
    const int categoryLeft[] = {12, 96, 180, 264, 348, 432, 516};
    for (int n = 1; n <= drills::CharacterDrill::kCategories + 1; ++n) {
        controls::RadioButton& c = n <= drills::CharacterDrill::kCategories ? d.RadioButton[n] : d.RadioButton30;
        auto* r = place<QRadioButton>(group, c.name(), QRect(categoryLeft[n - 1], 14, 84, 20));
        r->setFont(fonts::song(13));
        categoryOption(r);
        binder.radio(c, r);
    }

    QFrame* panel3 = panel(page, QStringLiteral("Panel3"), QRect(8, 44, 609, 207), Bevel::Raised, Bevel::None);

    // Created in tab order: the code boxes, then the accepted boxes, then the memo.
    QLabel* targets[drills::CharacterDrill::kSlots + 1] = {};
    for (int n = 1; n <= drills::CharacterDrill::kSlots; ++n) {
        const int x = kSlotLeft + (n - 1) * kSlotPitch;
        targets[n] = described(place<QLabel>(panel3, d.Label[n].name(), QRect(x, 6, kSlotWidth, 36)),
                               QStringLiteral("目标字%1").arg(n));
        targets[n]->setFont(fonts::kai(29, true));
        targets[n]->setAlignment(Qt::AlignCenter);
        setColours(targets[n], kBlue);
        binder.label(d.Label[n], targets[n]);
    }
    for (int n = 1; n <= drills::CharacterDrill::kSlots; ++n) {
        const int x = kSlotLeft + (n - 1) * kSlotPitch;
        binder.edit(d.Ed[n], named(codeBox(panel3, d.Ed[n].name(), QRect(x, 82, kSlotWidth, 22), 13, Qt::AlignCenter),
                                   QStringLiteral("编码%1").arg(n)));
    }
    for (int n = 1; n <= drills::CharacterDrill::kSlots; ++n) {
        const int x = kSlotLeft + (n - 1) * kSlotPitch;
        auto* accepted = named(place<QLineEdit>(panel3, d.Edit[n].name(), QRect(x, 44, kSlotWidth, 34)),
                               QStringLiteral("已打出的字%1").arg(n));
        accepted->setFont(fonts::kai(24));
        accepted->setAlignment(Qt::AlignCenter);
        accepted->setFrame(false);
        setColours(accepted, kYellow, buttonShadow());
        binder.edit(d.Edit[n], accepted);
    }
    rulesMemo(panel3, d.Memo1, QRect(4, 112, 601, 89), binder);
    // Over the memo's first line, under the box that holds capitals.
    capitalsNotice(
        panel3, d.capsNotice, [&d] { return d.capitalsAt(); },
        [](int slot) { return QRect(kSlotLeft + (std::max(slot, 1) - 1) * kSlotPitch, 82, kSlotWidth, 22); }, binder);
    // In the same place, while the hint shows: the line on a wrong code.
    capitalsNotice(
        panel3, d.wrongCodeNote, [&d] { return d.wrongCodeAt(); },
        [](int slot) { return QRect(kSlotLeft + (std::max(slot, 1) - 1) * kSlotPitch, 82, kSlotWidth, 22); }, binder,
        QStringLiteral("错码说明"));

    // Back to the page "练习这些字" came from, in the memo's last line (empty under "练错字").
    auto* back = place<QPushButton>(panel3, form.Button34.name(), QRect(492, 176, 108, 22));
    back->setFont(fonts::song(13));
    back->setCursor(Qt::PointingHandCursor);
    binder.button(form.Button34, back);
    binder.onSync([back, &form] {
        if (back->text() != form.Button34.caption())
            back->setText(form.Button34.caption());
    });

    // Which batch of how many, at the right of the memo's last line (empty, or short), left of the
    // way back while that is there.
    QLabel* position = positionLabel(
        panel3, QStringLiteral("Label44"), QRect(442, 184, 158, 15), [&d] { return d.batchPosition(); }, binder,
        Qt::AlignRight | Qt::AlignVCenter);
    binder.onSync([position, back] {
        const int right = back->isHidden() ? 600 : back->x() - 4;
        if (position->geometry().right() + 1 != right)
            position->move(right - position->width(), position->y());
    });

    // The hint column.
    QFrame* panel11 = panel(page, QStringLiteral("Panel11"), QRect(623, 0, 84, 251), Bevel::Raised, Bevel::None);
    auto* dats = place<QLabel>(panel11, d.dats.name(), QRect(4, 8, 76, 20));
    dats->setFont(fonts::song(14, true));
    dats->setAlignment(Qt::AlignCenter);
    binder.label(d.dats, dats);

    hintColumnOptions(panel11, QStringLiteral("Panel12"), QRect(6, 34, 72, 56), d.RadioButton22, d.RadioButton23,
                      binder);

    QLabel* panel13 =
        described(captionPanel(panel11, d.Panel13.name(), QRect(6, 100, 72, 110), Bevel::Lowered, Bevel::None),
                  QStringLiteral("答案提示编码"));
    panel13->setFont(fonts::code(16));
    panel13->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    // Room under the code for the two lines that explain a short one.
    panel13->setContentsMargins(0, 0, 0, 31);
    binder.label(d.Panel13, panel13);
    auto* zi = described(place<QLabel>(panel13, d.zi.name(), QRect(2, 10, 68, 40)), QStringLiteral("答案提示字"));
    zi->setFont(fonts::kai(29, true));
    zi->setAlignment(Qt::AlignCenter);
    setColours(zi, kBlue);
    binder.label(d.zi, zi);
    // Below the code, while the hint shows: how the code comes from the character's roots.
    addCharacterExplanation(panel11, QRect(2, 212, 80, 36), form, binder);
}

} // namespace app
