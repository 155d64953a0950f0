// The page "关于软件": the product name over its shadow, the maker's name, web address and
// e-mail address, the scrolling picture in Panel10 and the photograph behind CheckBox2.

#include "about.h"
#include "binder.h"
#include "fonts.h"
#include "form.h"
#include "pages.h"
#include "picture_files.h"
#include "widgets.h"

#include <QCheckBox>
#include <QEvent>

namespace app {

namespace {

// Runs `show` each time the watched widget is shown.
class ShowWatcher : public QObject {
public:
    ShowWatcher(QWidget* watched, std::function<void()> show) : QObject(watched), m_show(std::move(show)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            m_show();
        return false;
    }

private:
    std::function<void()> m_show;
};

// A label as wide as its caption, at `at`.
QLabel* captionLabel(QWidget* page, controls::Label& control, QPoint at, const QFont& font, Binder& binder) {
    auto* l = place<QLabel>(page, control.name(), QRect(at, QSize()));
    l->setFont(font);
    binder.label(control, l);
    l->setText(control.caption());
    l->adjustSize();
    return l;
}

} // namespace

void buildAboutPage(QWidget* page, Form& form, Binder& binder) {
    About& a = form.about;

    const auto [shadow, name] =
        shadowedTitle(page, {a.Label18, QRect(203, 35, 319, 33), kBlue}, {a.Label19, QRect(200, 32, 319, 33), kYellow},
                      fonts::kai(32, true), binder);
    // Spaced out for the eye; a screen reader would spell it letter by letter.
    name->setAccessibleName(QStringLiteral("软件名称 Vardelo V5.0"));
    shadow->setAccessibleName(QStringLiteral("软件名称的阴影"));

    captionLabel(page, a.Label30, QPoint(280, 108), fonts::song(16), binder);
    named(new Picture(page, QStringLiteral("Image3"), assets::kMakerName.at(328, 96), assets::kMakerName.resource()),
          QStringLiteral("制作者"));

    // The frame clips its pictures: Image6 moves over the fixed Image5 and out of sight.
    QFrame* panel10 = panel(page, QStringLiteral("Panel10"), QRect(288, 160, 138, 36), Bevel::Lowered, Bevel::Raised);
    named(new Picture(panel10, QStringLiteral("Image5"), assets::kAddress.at(3, 3), assets::kAddress.resource()),
          QStringLiteral("网址"));
    auto* image6 = named(new Picture(panel10, a.Image6.name(), assets::kSiteName.at(a.Image6.left(), About::kImage6Top),
                                     assets::kSiteName.resource()),
                         QStringLiteral("网站名称"));
    // Timer3 ticks show nothing else; the picture is moved only while the page is in view, and
    // caught up when the page is shown again.
    const auto moveImage6 = [page, image6, &a] {
        if (page->isVisible() && image6->x() != a.Image6.left())
            image6->move(a.Image6.left(), About::kImage6Top);
    };
    binder.onTick(form.Timer3, moveImage6);
    binder.onSync(moveImage6);
    new ShowWatcher(page, moveImage6);

    const struct {
        controls::Label& caption;
        controls::Label& link;
        QPoint captionAt, linkAt;
        QString captionSays; // for a screen reader, where the caption is not Chinese
        QString linkDoes;    // read out after the address
    } links[] = {
        {a.Label22, a.Label25, QPoint(256, 208), QPoint(304, 208), QString(), QStringLiteral("网址，点击打开")},
        {a.Label23, a.Label21, QPoint(256, 232), QPoint(322, 232), QStringLiteral("电子邮件"),
         QStringLiteral("电子邮件，点击写信")},
    };
    QFont underlined = fonts::code(15);
    underlined.setUnderline(true);
    for (const auto& l : links) {
        QLabel* caption = captionLabel(page, l.caption, l.captionAt, fonts::song(16), binder);
        if (!l.captionSays.isEmpty())
            caption->setAccessibleName(l.captionSays);
        QLabel* link = captionLabel(page, l.link, l.linkAt, underlined, binder);
        setColours(link, kBlue);
        link->setAccessibleDescription(l.linkDoes);
        binder.link(l.link, link);
    }

    auto* checkBox2 = place<QCheckBox>(page, a.CheckBox2.name(), QRect(592, 232, 97, 17));
    checkBox2->setFont(fonts::song(13));
    binder.checkBox(a.CheckBox2, checkBox2);

    auto* image4 =
        named(new Picture(page, a.Image4.name(), assets::kPortrait.at(576, 64), assets::kPortrait.resource()),
              QStringLiteral("作者照片"));
    binder.visibility(a.Image4, image4);
    // Hidden from the start, so the photograph is decoded only when first asked for.
    image4->setVisible(a.Image4.visible());
}

} // namespace app
