// The pages "口诀识记" (a verse, its key letter typed) and "字根练习" (a root picture, its key
// letter typed).

#include "batch_cycle.h"
#include "binder.h"
#include "fonts.h"
#include "form.h"
#include "pages.h"
#include "picture_files.h"
#include "widgets.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QtMath>

#include <algorithm>

namespace app {

namespace {

// The verse: its lines centred one under the other, one Song line apart. The few roots the Song
// face lacks (乂) come from the fallback face at the same baseline; left to the label, the taller
// fallback face would make their line higher than the others and push the verse off the page.
class Verse : public QLabel {
public:
    // `lines` is the Song face alone, which sets the line pitch and the baselines; `merged` the
    // same with the fallback face, which draws.
    Verse(const QFont& lines, const QFont& merged, QWidget* parent) : QLabel(parent), m_lines(lines) {
        setFont(merged);
    }
    QSize sizeHint() const override {
        const QStringList lines = text().split(QLatin1Char('\n'));
        const QFontMetricsF metrics(font());
        qreal width = 0;
        for (const QString& line : lines)
            width = std::max(width, metrics.horizontalAdvance(line));
        return QSize(qCeil(width), lines.size() * pitch());
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(font());
        p.setPen(palette().color(foregroundRole()));
        const QFontMetricsF metrics(font());
        const int ascent = QFontMetrics(m_lines).ascent();
        const QStringList lines = text().split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i)
            p.drawText(QPointF((width() - metrics.horizontalAdvance(lines[i])) / 2, i * pitch() + ascent), lines[i]);
    }

private:
    int pitch() const { return QFontMetrics(m_lines).height(); }
    QFont m_lines;
};

// A rounded-square frame, white inside, drawn under the key letter.
class Shape : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        const int radius = std::min(width(), height()) / 4;
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }
};

// A disabled label drawn greyed, as the desktop draws disabled text: a light copy one pixel down
// and right under the text in the shadow colour. (The window's palette gives disabled text the
// normal colour, so the label draws it itself.)
class GreyedLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(font());
        p.setPen(palette().color(QPalette::Light));
        p.drawText(rect().translated(1, 1), int(alignment()), text());
        p.setPen(buttonShadow());
        p.drawText(rect(), int(alignment()), text());
    }
};

// The entry box of a key drill: one letter, never the input method's text.
void keyEntry(QWidget* parent, controls::Edit& control, const QRect& geometry, Binder& binder) {
    binder.edit(control,
                named(codeBox(parent, control.name(), geometry, 21, Qt::AlignCenter), QStringLiteral("键位输入")));
}

// The key letter: the hint and the expected answer, on a rounded frame.
void keyLetter(QWidget* parent, controls::Label& control, const QString& shapeName, const QRect& geometry,
               Binder& binder) {
    place<Shape>(parent, shapeName, geometry);
    auto* key =
        described(place<QLabel>(parent, control.name(), geometry.adjusted(4, 4, -4, -4)), QStringLiteral("答案提示键"));
    key->setFont(fonts::code(35, true));
    key->setAlignment(Qt::AlignCenter);
    setColours(key, kBlue);
    binder.label(control, key);
}

// The two hint options on a raised frame.
void hintOptions(QWidget* parent, const QString& panelName, const QRect& geometry, controls::RadioButton& on,
                 controls::RadioButton& off, Binder& binder) {
    QFrame* frame = panel(parent, panelName, geometry, Bevel::Raised, Bevel::None);
    const int top = (geometry.height() - 18) / 2;
    binder.radio(on, place<QRadioButton>(frame, on.name(), QRect(10, top, 56, 18)));
    binder.radio(off, place<QRadioButton>(frame, off.name(), QRect(72, top, 70, 18)));
    for (auto* r : frame->findChildren<QRadioButton*>())
        r->setFont(fonts::song(13));
}

QLabel* prompt(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry, const QFont& font) {
    auto* l = place<QLabel>(parent, name, geometry);
    l->setText(caption);
    l->setFont(font);
    return l;
}

// Where the learner is in the drill's cycle: item n of `items`, from the counter box, said in
// `unit`; hidden while the counter names no item.
void cyclePosition(QWidget* page, const QString& name, const QRect& geometry, controls::Edit& counter, int items,
                   const QString& unit, Binder& binder) {
    positionLabel(
        page, name, geometry,
        [&counter, items, unit] {
            bool ok = false;
            const int item = counter.text().toInt(&ok);
            return ok ? drills::cyclePosition(item, items, unit) : QString();
        },
        binder);
}

} // namespace

void buildMnemonicDrillPage(QWidget* page, Form& form, Binder& binder) {
    drills::MnemonicDrill& d = form.mnemonics;

    // The entry box leads the page's tab order.
    keyEntry(page, d.Edit23, QRect(56, 132, 44, 36), binder);
    hintOptions(page, QStringLiteral("Panel18"), QRect(560, 176, 148, 36), d.RadioButton28, d.RadioButton29, binder);

    prompt(page, QStringLiteral("Label34"), QStringLiteral("键盘所在位置："), QRect(20, 104, 120, 20), fonts::song(14));
    prompt(page, QStringLiteral("Label36"), QStringLiteral("答案提示："), QRect(576, 60, 100, 20), fonts::song(14));
    keyLetter(page, d.Label35, QStringLiteral("Shape2"), QRect(596, 88, 60, 60), binder);

    // The verse grows down and to the right from its corner; its caption breaks lines with "\r".
    auto* verse = place<Verse>(page, d.Label33.name(), QRect(160, 32, 0, 0), fonts::song(56), fonts::songWithRoots(56));
    verse->setTextFormat(Qt::PlainText);
    verse->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setColours(verse, kBlue);
    binder.visibility(d.Label33, verse);
    auto showVerse = [&c = d.Label33, verse] {
        QString lines = c.caption();
        lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        if (verse->text() != lines || verse->size().isEmpty()) {
            verse->setText(lines);
            verse->adjustSize();
        }
    };
    showVerse();
    binder.onSync(showVerse);

    cyclePosition(page, QStringLiteral("VersePosition"), QRect(20, 232, 200, 14), d.Edit24,
                  drills::MnemonicDrill::kItems, QStringLiteral("句"), binder);
}

void buildRootDrillPage(QWidget* page, Form& form, Binder& binder) {
    drills::RootDrill& d = form.roots;

    auto* bevel2 = place<QFrame>(page, QStringLiteral("Bevel2"), QRect(8, 8, 697, 240));
    bevel2->setFrameStyle(QFrame::Box | QFrame::Sunken);

    // The entry box leads the page's tab order.
    keyEntry(page, d.Edit21, QRect(320, 160, 40, 34), binder);
    hintOptions(page, QStringLiteral("Panel17"), QRect(400, 160, 148, 34), d.RadioButton26, d.RadioButton27, binder);
    auto* restart = place<QPushButton>(page, d.Button13.name(), QRect(320, 206, 228, 28));
    restart->setFont(fonts::song(14));
    binder.button(d.Button13, restart);

    for (auto [name, caption, left] : {std::tuple{"Label31", "字", 40}, std::tuple{"Label32", "根", 585}}) {
        auto* big = place<GreyedLabel>(page, QLatin1String(name), QRect(left, 72, 100, 100));
        big->setText(QString::fromUtf8(caption));
        big->setFont(fonts::song(96));
        big->setEnabled(false);
    }
    const QFont kaiPrompt = fonts::kai(20, true);
    setColours(prompt(page, QStringLiteral("Label28"), QStringLiteral("字根："), QRect(248, 104, 70, 26), kaiPrompt),
               kBlue);
    setColours(prompt(page, QStringLiteral("Label27"), QStringLiteral("输入："), QRect(248, 164, 70, 26), kaiPrompt),
               kBlue);
    prompt(page, QStringLiteral("Label26"), QStringLiteral("答案提示:"), QRect(400, 106, 80, 20), fonts::song(14));
    keyLetter(page, d.zigenLabel, QStringLiteral("Shape1"), QRect(484, 88, 60, 60), binder);

    // All pictures stand at one place; only the visible one is ever decoded.
    for (int n = 1; n <= drills::RootDrill::kPictures; ++n) {
        auto* picture =
            named(new Picture(page, d.zigen[n].name(), QRect(320, 96, 40, 40), assets::rootPictureResource(n)),
                  QStringLiteral("字根图%1").arg(n));
        picture->setSizedToPicture(true);
        // Hidden ones explicitly, so that showing the new page shows (and decodes) none of them.
        picture->setVisible(d.zigen[n].visible());
        binder.visibility(d.zigen[n], picture);
    }

    cyclePosition(page, QStringLiteral("RootPosition"), QRect(20, 228, 200, 14), d.Edit22, drills::RootDrill::kItems,
                  QStringLiteral("个"), binder);
}

} // namespace app
