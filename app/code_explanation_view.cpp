#include "code_explanation_view.h"

#include "binder.h"
#include "fonts.h"
#include "form.h"
#include "picture_files.h"
#include "widgets.h"

#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>

namespace app {

namespace {

constexpr int kGap = 2;
// No Chinese text a learner reads is smaller than the typing test's passage.
constexpr int kSmallestPixels = 13;
// Keeps two cells' letters apart where the letters are wider than the glyph above them (最新:
// "jb us", not "jbus").
constexpr int kLetterMargin = 4;
const QColor kReason(0xC0, 0x00, 0x00);
// A root the code does not take (the middle roots of a character of more than four): grey.
const QColor kSkipped(0x80, 0x80, 0x80);

// The inked part of a root picture: the pictures stand a root in a square with room around it,
// which scaled whole to a glyph's size leaves a smudge of a few pixels.
QRect inkBox(const QImage& image) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 160) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? image.rect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

ExplanationStrip::ExplanationStrip(QWidget* parent, const QRect& geometry, int topPixels)
    : QWidget(parent), m_topFont(fonts::song(topPixels)), m_reasonFont(fonts::song(kSmallestPixels)),
      m_letterFont(fonts::code(12)), m_topPixels(topPixels) {
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
        // The root drill's own pictures (the double-size one on a high-DPI screen), cut to their
        // ink and scaled so that the root stands as tall as a character root beside it, or as
        // wide where it is flat (宀, 冖, 高头), inked as darkly.
        const qreal ratio = devicePixelRatioF() > 1.0 ? 2.0 : 1.0;
        QString path = assets::rootPictureResource(number);
        if (ratio > 1.0)
            path.insert(path.lastIndexOf(QLatin1Char('.')), QLatin1String("@2x"));
        QImage image(path);
        if (image.isNull())
            image.load(assets::rootPictureResource(number));
        QPixmap p;
        if (!image.isNull()) {
            image = image.convertToFormat(QImage::Format_RGB32);
            image = image.copy(inkBox(image));
            const int side = qRound((m_topPixels - 1) * ratio);
            image = image.scaled(side * 4 / 3, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            // Scaling greys thin strokes: darken what is ink, whiten the rest.
            for (int y = 0; y < image.height(); ++y) {
                QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    const int g = std::clamp((qGray(line[x]) - 40) * 255 / 160, 0, 255);
                    line[x] = qRgb(g, g, g);
                }
            }
            p = QPixmap::fromImage(image);
            p.setDevicePixelRatio(ratio);
        }
        it = m_pictures.insert(number, p);
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
    // Every root is shown: a character of many roots is drawn narrower to fit the strip.
    if (total > width()) {
        p.scale(qreal(width()) / total, 1.0);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    int x = std::max(0, (width() - total) / 2);
    const int topHeight = m_topPixels + 3;
    const QRect letterRow(0, topHeight, width(), height() - topHeight);
    for (const drills::ExplanationCell& c : cells) {
        const int w = widthOf(c);
        const QRect top(x, 0, w, topHeight);
        if (!c.counted)
            p.setOpacity(0.45);
        if (c.picture > 0) {
            const QPixmap& pic = picture(c.picture);
            const QSizeF size = pic.deviceIndependentSize();
            // The pictures are ink on white: multiplied, their white takes the panel's colour
            // instead of standing out as a box.
            p.setCompositionMode(QPainter::CompositionMode_Multiply);
            p.drawPixmap(QPointF(x + (w - size.width()) / 2, (topHeight - size.height()) / 2), pic);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        } else {
            p.setFont(c.kind == Kind::Reason ? m_reasonFont : m_topFont);
            p.setPen(c.kind == Kind::Reason ? kReason : windowText());
            p.drawText(top, Qt::AlignCenter, c.top);
        }
        p.setOpacity(1.0);
        if (!c.counted) {
            // Not taken by the code: a short grey bar where its letter would be.
            p.setPen(kSkipped);
            const int y = letterRow.top() + 6;
            p.drawLine(x + 2, y, x + w - 3, y);
        }
        p.setFont(m_letterFont);
        p.setPen(c.kind == Kind::Reason ? kReason : kBlue);
        p.drawText(QRect(x, letterRow.top(), w, letterRow.height()), Qt::AlignHCenter | Qt::AlignTop, c.letters);
        x += w + kGap;
    }
}

namespace {

// A strip that shows `source` after every event, in view while there is something to explain.
ExplanationStrip* addExplanation(QWidget* parent, const QRect& geometry, int topPixels, const QString& name,
                                 const drills::HintExplanation& source, Binder& binder) {
    auto* strip = new ExplanationStrip(parent, geometry, topPixels);
    strip->setObjectName(name);
    binder.onSync([strip, &source] {
        strip->setExplanation(source.current());
        strip->setVisible(!source.current().cells.isEmpty());
    });
    return strip;
}

// Two lines under the hint's code: the full code and how the short one comes from it.
constexpr int kNoteHeight = 2 * kSmallestPixels + 4;

// The note with its code letters in the code face, where l and 1 cannot be confused.
QString noteHtml(const QString& note) {
    static const QRegularExpression letters(QStringLiteral("[a-z]+"));
    const QString codeFace = fonts::code(kSmallestPixels).family();
    QString html;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : letters.globalMatch(note)) {
        html += note.mid(from, m.capturedStart() - from).toHtmlEscaped();
        html += QStringLiteral("<span style=\"font-family:'%1'\">%2</span>").arg(codeFace, m.captured());
        from = m.capturedEnd();
    }
    html += note.mid(from).toHtmlEscaped();
    return html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

} // namespace

ExplanationStrip* addCharacterExplanation(QWidget* column, const QRect& geometry, Form& form, Binder& binder) {
    drills::CharacterDrill& d = form.characters;
    // Inside the hint's code box, under the code: which code the strip explains when the hint shows
    // a short one, and how the short one comes from it.
    if (auto* panel13 = column->findChild<QLabel*>(d.Panel13.name())) {
        auto* note = new QLabel(panel13);
        note->setObjectName(QStringLiteral("CodeExplanationNote"));
        note->setGeometry(2, panel13->height() - kNoteHeight - 1, panel13->width() - 4, kNoteHeight);
        note->setFont(fonts::song(kSmallestPixels));
        note->setAlignment(Qt::AlignCenter);
        note->setTextFormat(Qt::RichText);
        note->hide();
        binder.onSync([&d, note, shown = QString()]() mutable {
            const QString& now = d.hintExplanation.current().note;
            if (now == shown)
                return;
            shown = now;
            note->setText(noteHtml(now));
            note->setAccessibleName(now);
            note->setVisible(!now.isEmpty());
        });
    }
    return addExplanation(column, geometry, 13, QStringLiteral("CodeExplanation1"), d.hintExplanation, binder);
}

ExplanationStrip* addPhraseExplanation(QWidget* panel16, const QRect& geometry, Form& form, Binder& binder) {
    drills::PhraseDrill& d = form.phrases;
    ExplanationStrip* strip =
        addExplanation(panel16, geometry, 14, QStringLiteral("CodeExplanation2"), d.hintExplanation, binder);
    // On the long-phrase panel, beside its code box: every character, the ones the first three
    // and the last leave out marked.
    QWidget* page = panel16->window();
    if (auto* panel5 = page->findChild<QFrame*>(d.Panel5.name()))
        addExplanation(panel5, QRect(336, 42, 224, 38), 16, QStringLiteral("CodeExplanation3"), d.longPhraseExplanation,
                       binder);
    return strip;
}

} // namespace app
