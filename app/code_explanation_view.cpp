#include "code_explanation_view.h"

#include "binder.h"
#include "fonts.h"
#include "form.h"
#include "widgets.h"

#include <QFontMetrics>
#include <QPainter>

#include <memory>

namespace app {

namespace {

constexpr int kGap = 2;
// Keeps two cells' letters apart where the letters are wider than the glyph above them (最新:
// "jb us", not "jbus").
constexpr int kLetterMargin = 4;
const QColor kReason(0xC0, 0x00, 0x00);

} // namespace

ExplanationStrip::ExplanationStrip(QWidget* parent, const QRect& geometry, int topPixels)
    : QWidget(parent), m_topFont(fonts::song(topPixels)), m_reasonFont(fonts::song(10)), m_letterFont(fonts::code(12)),
      m_topPixels(topPixels) {
    setGeometry(geometry);
    setAccessibleName(QStringLiteral("编码解释"));
    hide();
}

void ExplanationStrip::setExplanation(const drills::Explanation& e) {
    if (e == m_explanation)
        return;
    m_explanation = e;
    setAccessibleDescription(e.text);
    setToolTip(e.text);
    update();
}

int ExplanationStrip::widthOf(const drills::ExplanationCell& cell) const {
    using Kind = drills::ExplanationCell::Kind;
    int top = m_topPixels + 1;
    if (cell.picture == 0)
        top = QFontMetrics(cell.kind == Kind::Reason ? m_reasonFont : m_topFont).horizontalAdvance(cell.top);
    const int letters = QFontMetrics(m_letterFont).horizontalAdvance(cell.letters);
    return std::max(top, cell.letters.isEmpty() ? 0 : letters + kLetterMargin);
}

const QPixmap& ExplanationStrip::picture(int number) {
    auto it = m_pictures.find(number);
    if (it == m_pictures.end()) {
        // The root drill's own pictures, scaled to the strip's glyph size.
        QPixmap p(QStringLiteral(":/pictures/zigen/zigen%1.jpg").arg(number));
        const int side = m_topPixels + 1;
        it = m_pictures.insert(number,
                               p.isNull() ? p : p.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return *it;
}

void ExplanationStrip::paintEvent(QPaintEvent*) {
    using Kind = drills::ExplanationCell::Kind;
    const QList<drills::ExplanationCell>& cells = m_explanation.cells;
    if (cells.isEmpty())
        return;
    QPainter p(this);
    int total = -kGap;
    for (const drills::ExplanationCell& c : cells)
        total += widthOf(c) + kGap;
    int x = std::max(0, (width() - total) / 2);
    const int topHeight = m_topPixels + 3;
    const QRect letterRow(0, topHeight, width(), height() - topHeight);
    for (const drills::ExplanationCell& c : cells) {
        const int w = widthOf(c);
        const QRect top(x, 0, w, topHeight);
        if (c.picture > 0) {
            const QPixmap& pic = picture(c.picture);
            p.drawPixmap(QPoint(x + (w - pic.width()) / 2, (topHeight - pic.height()) / 2), pic);
        } else {
            p.setFont(c.kind == Kind::Reason ? m_reasonFont : m_topFont);
            p.setPen(c.kind == Kind::Reason ? kReason : windowText());
            p.drawText(top, Qt::AlignCenter, c.top);
        }
        p.setFont(m_letterFont);
        p.setPen(c.kind == Kind::Reason ? kReason : kBlue);
        p.drawText(QRect(x, letterRow.top(), w, letterRow.height()), Qt::AlignHCenter | Qt::AlignTop, c.letters);
        x += w + kGap;
    }
}

ExplanationStrip* addCharacterExplanation(QWidget* column, const QRect& geometry, Form& form, Binder& binder) {
    auto* strip = new ExplanationStrip(column, geometry, 13);
    strip->setObjectName(QStringLiteral("CodeExplanation1"));
    auto explainer = std::make_shared<drills::CodeExplainer>(form.Table1.folder());
    drills::CharacterDrill& d = form.characters;
    binder.onSync([strip, explainer, &d] {
        // Only while the hint shows a code: the hint panel hidden, or no target yet, shows none.
        const bool hint = d.Panel13.visible() && !d.zi.caption().isEmpty();
        drills::Explanation e = explainer->character(hint ? d.zi.caption() : QString());
        // A first-level code is the key's own character, not the start of the full code the strip
        // explains: say so to whoever reads it out.
        const QString code = d.Panel13.caption();
        if (!e.text.isEmpty() && !code.isEmpty() && !e.text.endsWith(QStringLiteral("＝ ") + code) &&
            !e.text.section(QStringLiteral("＝ "), -1).startsWith(code))
            e.text = QStringLiteral("一级简码 %1；全码 ").arg(code) + e.text;
        strip->setExplanation(e);
        strip->setVisible(hint && !e.cells.isEmpty());
    });
    return strip;
}

ExplanationStrip* addPhraseExplanation(QWidget* panel16, const QRect& geometry, Form& form, Binder& binder) {
    auto* strip = new ExplanationStrip(panel16, geometry, 14);
    strip->setObjectName(QStringLiteral("CodeExplanation2"));
    auto explainer = std::make_shared<drills::CodeExplainer>(form.Table3.folder());
    drills::PhraseDrill& d = form.phrases;
    binder.onSync([strip, explainer, &d] {
        // A phrase of more than four characters fills the panel down to the code: no room.
        const QString phrase = d.zi2.caption();
        const bool hint = d.Panel16.visible() && phrase.size() >= 2 && phrase.size() <= 4;
        const drills::Explanation& e = explainer->phrase(hint ? phrase : QString());
        strip->setExplanation(e);
        strip->setVisible(hint && !e.cells.isEmpty());
    });
    return strip;
}

} // namespace app
