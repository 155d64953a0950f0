#include "main_window.h"

#include "data_folder.h"
#include "fonts.h"
#include "pages.h"
#include "widgets.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace app {

namespace {

struct PageInfo {
    const char* name;
    const char* caption;
};
const PageInfo kPages[] = {
    {"TabSheet1", "五笔字根表"}, {"TabSheet7", "口诀识记"}, {"TabSheet6", "字根练习"}, {"TabSheet2", "单字练习"},
    {"TabSheet3", "词组练习"},   {"TabSheet4", "文章测试"}, {"TabSheet5", "关于软件"},
};

// A picture decoded the first time it is shown, so start-up decodes only what is in view.
QLabel* picture(QWidget* parent, const QString& name, const QRect& geometry, const QString& resource) {
    auto* l = place<QLabel>(parent, name, geometry);
    l->setProperty("resource", resource);
    l->setScaledContents(false);
    return l;
}

void ensureDecoded(QLabel* l) {
    if (l->isHidden() || !l->pixmap().isNull())
        return;
    // A high-DPI screen gets the double-resolution picture; only the one picture is decoded.
    QString path = l->property("resource").toString();
    qreal ratio = 1.0;
    if (l->devicePixelRatioF() > 1.0) {
        QString sharp = path;
        sharp.insert(sharp.lastIndexOf(QLatin1Char('.')), QLatin1String("@2x"));
        if (QFile::exists(sharp)) {
            path = sharp;
            ratio = 2.0;
        }
    }
    QPixmap pixmap(path);
    pixmap.setDevicePixelRatio(ratio);
    l->setPixmap(pixmap);
}

} // namespace

TForm1::TForm1(const QString& dataFolder, controls::Desktop* desktop) : m_qtDesktop(this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(controls::kApplicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setColours(this, windowText(), buttonFace());
    setFont(fonts::sans(11));

    m_form = std::make_unique<Form>(dataFolder, lexicon::phraseBatchFolder(dataFolder),
                                    desktop ? *desktop : static_cast<controls::Desktop&>(m_qtDesktop));
    m_binder = new Binder(*m_form, this);

    buildPages();
    buildPicturePanel();

    m_timer3 = new QTimer(this);
    m_timer3->setObjectName(QStringLiteral("Timer3"));
    m_binder->timer(m_form->Timer3, m_timer3);

    // Loading the controls above ran no handlers; FormCreate runs once everything exists.
    m_form->FormCreate();
    m_binder->sync();

    // Key preview: the window sees every key before the focused control.
    qApp->installEventFilter(this);

    if (!m_form->startupErrors().isEmpty()) {
        // Reported once the window is up, so the learner sees what still works behind it.
        const QString text = m_form->startupErrors().join(QLatin1Char('\n'));
        QTimer::singleShot(0, this, [this, text] { m_form->desktop.error(text); });
    }
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
}

void TForm1::buildPages() {
    PageControl1 = place<QTabWidget>(this, QStringLiteral("PageControl1"), QRect(0, 0, 721, 289));
    PageControl1->setFont(fonts::song(12));
    PageControl1->setUsesScrollButtons(false);
    PageControl1->tabBar()->setExpanding(false);
    for (const PageInfo& p : kPages) {
        auto* page = new QWidget;
        page->setObjectName(QLatin1String(p.name));
        page->setFont(fonts::sans(11));
        PageControl1->addTab(page, QString::fromUtf8(p.caption));
    }

    auto* sheet1 = PageControl1->findChild<QWidget*>(QStringLiteral("TabSheet1"));
    QFrame* panel1 = panel(sheet1, QStringLiteral("Panel1"), QRect(8, 8, 697, 244), Bevel::Raised, Bevel::None);
    setColours(panel1, windowText(), kSkyBlue);
    QLabel* image1 =
        picture(panel1, QStringLiteral("Image1"), QRect(10, 6, 676, 231), QStringLiteral(":/pictures/image1.jpg"));
    ensureDecoded(image1);

    // A page's widgets are made the first time it is shown: start-up builds only what is in view.
    // Its state machine exists from the start, so nothing it does depends on this.
    const struct {
        const char* page;
        void (*build)(QWidget*, Form&, Binder&);
    } builders[] = {
        {"TabSheet2", buildCharacterDrillPage},
        {"TabSheet4", buildTypingTestPage},
    };
    for (const auto& b : builders) {
        QWidget* page = PageControl1->findChild<QWidget*>(QLatin1String(b.page));
        auto build = b.build;
        m_pendingPages.insert(page, [this, page, build] {
            build(page, *m_form, *m_binder);
            m_binder->sync();
            // Children added to a page already on screen stay hidden until shown; the state has
            // hidden what it hides explicitly, the rest is shown now.
            for (QWidget* w : page->findChildren<QWidget*>())
                if (!w->testAttribute(Qt::WA_WState_ExplicitShowHide))
                    w->show();
            m_binder->sync();
        });
    }
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto build = m_pendingPages.take(PageControl1->widget(index)))
            build();
    });

    PageControl1->setCurrentIndex(0);
}

void TForm1::buildPicturePanel() {
    PicturePanel& pp = m_form->pictures;
    QFrame* panel2 = panel(this, QStringLiteral("Panel2"), QRect(0, 288, 721, 217), Bevel::Raised, Bevel::None);

    // Stacking from bottom to top: the banner's shadow, the banner, then the four pictures.
    QFrame* panel4 = panel(panel2, QStringLiteral("Panel4"), QRect(9, 24, 702, 183), Bevel::Lowered, Bevel::Lowered);
    panel4->setAutoFillBackground(true);
    auto* label16 = place<QLabel>(panel4, QStringLiteral("Label16"), QRect(110, 72, 482, 29));
    auto* label17 = place<QLabel>(panel4, QStringLiteral("Label17"), QRect(113, 70, 482, 29));
    for (QLabel* l : {label16, label17}) {
        l->setFont(fonts::kai(29, true));
        l->setAttribute(Qt::WA_TranslucentBackground);
    }
    setColours(label16, kYellow);
    setColours(label17, kBlue);
    m_binder->label(pp.Label16, label16);
    m_binder->label(pp.Label17, label17);

    const struct {
        controls::Control& control;
        const char* name;
        QRect geometry;
        const char* resource;
    } pictures[] = {
        {pp.Image2, "Image2", QRect(3, 3, 695, 176), ":/pictures/image2.jpg"},
        {pp.Image7, "Image7", QRect(128, 8, 459, 173), ":/pictures/image7.jpg"},
        {pp.Image8, "Image8", QRect(128, 8, 459, 173), ":/pictures/image8.jpg"},
        {pp.Image9, "Image9", QRect(51, 5, 599, 173), ":/pictures/image9.jpg"},
    };
    for (const auto& p : pictures) {
        QLabel* l = picture(panel4, QLatin1String(p.name), p.geometry, QLatin1String(p.resource));
        m_binder->visibility(p.control, l);
        m_binder->onSync([l] { ensureDecoded(l); });
    }

    m_binder->onSync([panel4, &pp] {
        const QColor want = pp.panelColour() == PicturePanel::Colour::White ? QColor(Qt::white) : buttonFace();
        if (panel4->palette().color(QPalette::Window) != want)
            setColours(panel4, windowText(), want);
    });

    const struct {
        controls::RadioButton& control;
        int left;
        int width;
    } selectors[] = {
        {pp.RadioButton19, 8, 130},   {pp.RadioButton21, 152, 120}, {pp.RadioButton17, 288, 130},
        {pp.RadioButton18, 440, 140}, {pp.RadioButton20, 600, 112},
    };
    for (const auto& s : selectors) {
        auto* r = place<QRadioButton>(panel2, s.control.name(), QRect(s.left, 5, s.width, 17));
        r->setFont(fonts::song(12));
        m_binder->radio(s.control, r);
    }
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

void TForm1::FormKeyPress(QKeyEvent*) {
    // Enter as Tab: the focused control never sees it; the focus moves on as Tab would move it.
    focusNextPrevChild(true);
}

} // namespace app
