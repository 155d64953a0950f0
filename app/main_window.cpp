#include "main_window.h"

#include "data_folder.h"
#include "fonts.h"
#include "input_method_guard.h"
#include "pages.h"
#include "picture_files.h"
#include "title.h"
#include "widgets.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QProxyStyle>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

namespace app {

TForm1::TForm1(const QString& dataFolder, controls::Desktop* desktop, const QProcessEnvironment& launchedPrograms)
    : m_qtDesktop(this, launchedPrograms) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(app::kApplicationTitle);
    setWindowIcon(QIcon(assets::kWindowIcon.resource()));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    // Every widget of the window inherits it; dialogs, which are windows of their own, follow the
    // desktop's theme consistently.
    setPalette(lightPalette());
    setColours(this, windowText(), buttonFace());
    setFont(fonts::sans(11));

    m_form = std::make_unique<Form>(dataFolder, lexicon::phraseBatchFolder(dataFolder),
                                    desktop ? *desktop : static_cast<controls::Desktop&>(m_qtDesktop));
    m_binder = new Binder(*m_form, this);

    buildPages();
    buildPicturePanel(this, m_form->pictures, *m_binder);

    buildTableErrorLine();

    // A page a handler asks for comes into view once the event that asked is shown.
    m_binder->onSync([this] {
        if (m_form->pageToShow.isEmpty())
            return;
        const int index = pageIndex(m_form->pageToShow);
        m_form->pageToShow.clear();
        if (index < 0)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, index] {
                // The focus the handler gave on that page is where the learner goes on, not the
                // box that had it when the page was left last.
                controls::Control* c = m_form->focus.current();
                QWidget* w = c ? m_binder->widgetOf(*c) : nullptr;
                if (w && PageControl1->widget(index)->isAncestorOf(w))
                    w->setFocus(Qt::OtherFocusReason);
                PageControl1->setCurrentIndex(index);
                // A page built just now had no box to take it: the state's focus goes there now.
                QWidget* page = PageControl1->widget(index);
                if (c && m_form->focus.current() != c && page->isAncestorOf(m_binder->widgetOf(*c)))
                    m_binder->event([&] { m_form->focus.set(*c, controls::Focus::Reason::Back); });
            },
            Qt::QueuedConnection);
    });

    auto* timer3 = new QTimer(this);
    timer3->setObjectName(m_form->Timer3.name());
    // Its handler moves a picture of the About page, which shows it itself.
    m_binder->timer(m_form->Timer3, timer3, Binder::TickShows::Nothing);

    // Loading the controls above ran no handlers; FormCreate sets the pages' start states once
    // everything exists.
    m_form->FormCreate();
    m_binder->sync();

    // Key preview: the window sees every key before the focused control.
    qApp->installEventFilter(this);
    qApp->installEventFilter(new InputMethodGuard(this));

    if (!m_form->startupErrors().isEmpty()) {
        // Reported once the window is up, so the learner sees what still works behind it.
        const QString text = m_form->startupErrors().join(QLatin1Char('\n'));
        QTimer::singleShot(0, this, [this, text] { m_form->desktop.error(text); });
    }
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
}

namespace {

// The text the foot line shows of `error` in `lines` lines of `width` pixels: the whole message when
// it fits; otherwise without the folder looked in, so that the file name and the reason stay whole;
// otherwise cut at the end. The hover text and the accessible description keep the whole.
QString footText(const lexicon::TableError& error, const QFontMetrics& fm, int width, int lines) {
    const auto fits = [&](const QString& text) {
        const QRect r = fm.boundingRect(QRect(0, 0, width, 1000), Qt::TextWrapAnywhere, text);
        return r.height() <= lines * fm.lineSpacing() && r.width() <= width;
    };
    if (fits(error.message()))
        return error.message();
    QString text = error.messageWithoutFolder();
    while (!fits(text) && text.size() > 1)
        text = text.left(text.size() - 2) + QStringLiteral("…");
    return text;
}

} // namespace

// The foot line of a failing table: under the picture-hint panel, outside every page, so it
// covers nothing whatever the number of tabs. The window grows by it while it is shown and
// shrinks back when it goes. One line, or two when the message needs them; the whole message on
// hover and for screen readers.
void TForm1::buildTableErrorLine() {
    auto* line = place<QLabel>(this, m_form->TableErrorLine.name(),
                               QRect(kFootLineLeft, kClientHeight, kClientWidth - 2 * kFootLineLeft, 0));
    line->setFont(fonts::song(12));
    line->setWordWrap(true);
    line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    line->setTextFormat(Qt::PlainText);
    setColours(line, QColor(0xC0, 0x00, 0x00), buttonFace());
    line->setAccessibleName(QStringLiteral("词库表错误"));
    m_binder->visibility(m_form->TableErrorLine, line);
    const controls::Label& state = m_form->TableErrorLine;
    m_binder->onSync([this, line, &state, shown = QString(), open = false]() mutable {
        if (state.caption() == shown && state.visible() == open)
            return;
        shown = state.caption();
        open = state.visible();
        const QFontMetrics fm = line->fontMetrics();
        const lexicon::TableError* error = m_form->tableErrorShown();
        const QString text = error ? footText(*error, fm, line->width(), 2) : shown;
        const int lines =
            fm.boundingRect(QRect(0, 0, line->width(), 1000), Qt::TextWrapAnywhere, text).height() > fm.lineSpacing()
                ? 2
                : 1;
        line->setText(text);
        line->setToolTip(shown);
        line->setAccessibleDescription(shown);
        line->resize(line->width(), lines * fm.lineSpacing() + 4);
        setFixedSize(kClientWidth, kClientHeight + (open ? line->height() + 2 : 0));
    });
}

namespace {

// The tabs as the desktop's style draws them, with less room beside each caption: ten pages with
// captions of four characters fit the row, as large as the rest of the window's Chinese text.
class TightTabs : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int m = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::max(m / 2 - 2, 8) : m;
    }
};

} // namespace

void TForm1::buildPages() {
    PageControl1 = place<QTabWidget>(this, QStringLiteral("PageControl1"), QRect(0, 0, 721, 289));
    auto* tabStyle = new TightTabs;
    tabStyle->setParent(PageControl1);
    PageControl1->tabBar()->setStyle(tabStyle);
    PageControl1->setFont(fonts::song(13));
    // More tabs than the row holds scroll; a caption is never cut.
    PageControl1->setUsesScrollButtons(true);
    PageControl1->setElideMode(Qt::ElideNone);
    PageControl1->tabBar()->setExpanding(false);
    for (const Page& p : kPages) {
        auto* page = new QWidget;
        page->setObjectName(QLatin1String(p.name));
        page->setFont(fonts::sans(11));
        PageControl1->addTab(page, QString::fromUtf8(p.caption));
    }
    // A page's widgets are made the first time it is shown: start-up builds only what is in view.
    // Its state machine exists from the start, so nothing it does depends on this.
    m_built.assign(std::size(kPages), false);
    showPage(0);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::showPage);
}

void TForm1::showPage(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kPages)))
        return;
    const Page& p = kPages[index];
    QWidget* page = PageControl1->widget(index);
    if (!m_built[static_cast<std::size_t>(index)]) {
        m_built[static_cast<std::size_t>(index)] = true;
        p.build(page, *m_form, *m_binder);
        m_binder->sync();
        // Children added to a page already on screen stay hidden until shown; the state has
        // hidden what it hides explicitly, the rest is shown now.
        for (QWidget* w : page->findChildren<QWidget*>())
            if (!w->testAttribute(Qt::WA_WState_ExplicitShowHide))
                w->show();
        m_binder->sync();
    }
    m_binder->event([&] {
        m_form->pageShown(QLatin1String(p.name));
        if (p.show)
            p.show(*m_form);
    });
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen* screen = this->screen()) {
        // Centre the whole window, frame included.
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (w == this || isAncestorOf(w))) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                FormKeyPress(key);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm1::focusNextPrevChild(bool next) {
    // Tab from any widget comes here through its parents, and Enter through FormKeyPress: where
    // the state keeps the keyboard within a range of controls, the focus moves only there. (Qt
    // also comes here while the state is shown, when it disabled the focused widget; the state's
    // own focus is applied after that.)
    controls::Control* to = m_binder->syncing() ? nullptr : m_form->focus.tabTarget(next);
    if (to) {
        m_binder->event([&] { m_form->focus.set(*to, controls::Focus::Reason::Tab); });
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void TForm1::FormKeyPress(QKeyEvent*) {
    // Enter as Tab: the focused control never sees it; the focus moves on as Tab would move it.
    focusNextPrevChild(true);
}

} // namespace app
