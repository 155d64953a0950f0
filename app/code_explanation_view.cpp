#include "code_explanation_view.h"

#include "binder.h"
#include "fonts.h"
#include "form.h"
#include "picture_files.h"
#include "widgets.h"

#include <QFontMetrics>
#include <QPainter>

#include <functional>
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
        QPixmap p(assets::rootPictureResource(number));
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
            // The pictures are ink on white: multiplied, their white takes the panel's colour
            // instead of standing out as a box.
            p.setCompositionMode(QPainter::CompositionMode_Multiply);
            p.drawPixmap(QPoint(x + (w - pic.width()) / 2, (topHeight - pic.height()) / 2), pic);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
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

namespace {

// A strip with its own explainer of the tables in `folder`. After every event `explain` gives the
// explanation of what the hint panel shows, an empty one while it shows no code; the strip is in
// view while there is something to explain.
ExplanationStrip* addExplanation(QWidget* parent, const QRect& geometry, int topPixels, const QString& name,
                                 const QString& folder, Binder& binder,
                                 std::function<drills::Explanation(drills::CodeExplainer&)> explain) {
    auto* strip = new ExplanationStrip(parent, geometry, topPixels);
    strip->setObjectName(name);
    auto explainer = std::make_shared<drills::CodeExplainer>(folder);
    binder.onSync([strip, explainer, explain = std::move(explain)] {
        const drills::Explanation e = explain(*explainer);
        strip->setExplanation(e);
        strip->setVisible(!e.cells.isEmpty());
    });
    return strip;
}

} // namespace

ExplanationStrip* addCharacterExplanation(QWidget* column, const QRect& geometry, Form& form, Binder& binder) {
    drills::CharacterDrill& d = form.characters;
    auto explain = [&d](drills::CodeExplainer& explainer) {
        // Only while the hint shows a code: the hint panel hidden, or no target yet, shows none.
        const bool hint = d.Panel13.visible() && !d.zi.caption().isEmpty();
        drills::Explanation e = explainer.character(hint ? d.zi.caption() : QString());
        // A first-level code is the key's own character, not the start of the full code the strip
        // explains: say so to whoever reads it out.
        const QString code = d.Panel13.caption();
        if (!e.text.isEmpty() && !code.isEmpty() && !e.text.endsWith(QStringLiteral("＝ ") + code) &&
            !e.text.section(QStringLiteral("＝ "), -1).startsWith(code))
            e.text = QStringLiteral("一级简码 %1；全码 ").arg(code) + e.text;
        return e;
    };
    return addExplanation(column, geometry, 13, QStringLiteral("CodeExplanation1"), form.Table1.folder(), binder,
                          explain);
}

ExplanationStrip* addPhraseExplanation(QWidget* panel16, const QRect& geometry, Form& form, Binder& binder) {
    drills::PhraseDrill& d = form.phrases;
    auto explain = [&d](drills::CodeExplainer& explainer) {
        // A phrase of more than four characters fills the panel down to the code: no room.
        const QString phrase = d.zi2.caption();
        const bool hint = d.Panel16.visible() && phrase.size() >= 2 && phrase.size() <= 4;
        return explainer.phrase(hint ? phrase : QString(), d.czts.caption());
    };
    return addExplanation(panel16, geometry, 14, QStringLiteral("CodeExplanation2"), form.Table3.folder(), binder,
                          explain);
}

} // namespace app
