// The page "编码查询": the box, the answer line, and under them what was found: a phrase of the
// text with its code over its characters, then each character with its codes and the split strip
// of the hint panel, or the candidates of a code, as an input method lists them.

#include "binder.h"
#include "code_explanation_view.h"
#include "fonts.h"
#include "form.h"
#include "pages.h"
#include "widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

namespace app {

namespace {

constexpr int kRowHeight = 44;
constexpr int kStripWidth = 200;

QLabel* text(QWidget* parent, const QRect& geometry, const QFont& font, const QColor& colour, const QString& s) {
    auto* l = new QLabel(s, parent);
    l->setGeometry(geometry);
    l->setFont(font);
    l->setTextFormat(Qt::PlainText);
    setColours(l, colour);
    return l;
}

// A row: the character or phrase large on the left, its codes beside it, its strip on the right.
void addRow(QWidget* list, int y, const QString& what, const QString& codes, const drills::Explanation& explanation,
            const QString& said) {
    auto* row = described(new QWidget(list), said);
    row->setGeometry(0, y, list->width(), kRowHeight);
    row->setAccessibleName(what);
    described(text(row, QRect(4, 2, 120, 40), fonts::kai(what.size() > 1 ? 22 : 30), windowText(), what), said);
    auto* c = text(row, QRect(126, 2, list->width() - 130 - kStripWidth, 40), fonts::song(14), kBlue, codes);
    c->setWordWrap(true);
    described(c, said);
    auto* strip = new ExplanationStrip(row, QRect(list->width() - kStripWidth - 4, 2, kStripWidth, 40), 16);
    strip->setExplanation(explanation);
    strip->setVisible(!explanation.cells.isEmpty());
    if (explanation.cells.isEmpty())
        described(text(row, strip->geometry(), fonts::song(12), windowText(), QStringLiteral("拆分暂无说明")), said);
}

QString codesOf(const drills::CharacterAnswer& a) {
    QStringList s{QStringLiteral("全码 %1").arg(a.fullCode)};
    for (int level = 1; level <= 3; ++level)
        if (!a.shortCodes.value(level - 1).isEmpty())
            s << drills::shortCodeName(level) + QLatin1Char(' ') + a.shortCodes[level - 1];
    return s.join(QStringLiteral("　"));
}

// Lays the answer out in `list` again.
void show(QWidget* list, const drills::LookupAnswer& answer) {
    for (QWidget* w : list->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        delete w;
    int y = 0;
    for (const drills::PhraseAnswer& p : answer.phrases) {
        addRow(list, y, p.phrase, QStringLiteral("词组编码 %1").arg(p.code), p.explanation, p.text);
        y += kRowHeight;
    }
    for (const drills::CharacterAnswer& a : answer.characters) {
        addRow(list, y, a.character, codesOf(a), a.explanation, a.text);
        y += kRowHeight;
    }
    if (!answer.candidates.isEmpty()) {
        QStringList items;
        for (const drills::Candidate& c : answer.candidates)
            items << c.text + QLatin1Char(' ') + c.code;
        if (answer.moreCandidates > 0)
            items << QStringLiteral("……还有 %1 个").arg(answer.moreCandidates);
        auto* l = text(list, QRect(4, 0, list->width() - 8, 0), fonts::song(16), windowText(),
                       items.join(QStringLiteral("　")));
        l->setObjectName(QStringLiteral("Candidates"));
        l->setWordWrap(true);
        l->setFixedHeight(l->heightForWidth(l->width()));
        described(l, QStringLiteral("编码 %1 的候选字词").arg(answer.code));
        y += l->height();
    }
    list->setFixedHeight(std::max(y, 1));
    for (QWidget* w : list->findChildren<QWidget*>())
        if (!w->testAttribute(Qt::WA_WState_ExplicitShowHide))
            w->show();
}

} // namespace

void buildLookupPage(QWidget* page, Form& form, Binder& binder) {
    drills::CodeLookup& d = form.lookup;
    text(page, QRect(12, 12, 48, 26), fonts::song(14), windowText(), QStringLiteral("查询："));
    // The learner's input method stays on here: Chinese text is what is looked up.
    auto* box = named(place<QLineEdit>(page, d.Edit30.name(), QRect(60, 10, 340, 30)), QStringLiteral("查询内容"));
    box->setFont(fonts::song(18));
    binder.edit(d.Edit30, box);
    // The characters looked up, into the single-character drill's "练错字".
    auto* practise = place<QPushButton>(page, form.Button33.name(), QRect(408, 10, 96, 30));
    practise->setFont(fonts::song(12));
    practise->setCursor(Qt::PointingHandCursor);
    binder.button(form.Button33, practise);

    auto* answer = place<QLabel>(page, d.Label40.name(), QRect(12, 46, 690, 20));
    answer->setFont(fonts::song(13));
    binder.label(d.Label40, answer);
    described(answer, QStringLiteral("查询结果"));

    auto* scroll = place<QScrollArea>(page, QStringLiteral("ScrollBox1"), QRect(8, 70, 697, 184));
    scroll->setFrameShape(QFrame::StyledPanel);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* list = new QWidget;
    list->setObjectName(QStringLiteral("LookupAnswer"));
    list->setFixedWidth(scroll->width() - scroll->verticalScrollBar()->sizeHint().width() - 4);
    scroll->setWidget(list);
    scroll->setWidgetResizable(false);
    binder.onSync([list, scroll, &d, shown = drills::LookupAnswer()]() mutable {
        if (d.answer() == shown)
            return;
        shown = d.answer();
        show(list, shown);
        scroll->verticalScrollBar()->setValue(0);
    });
}

} // namespace app
