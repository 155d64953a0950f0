// Every text in view reads at a contrast of at least 4.5:1 against what lies behind it, under a
// light and under a dark desktop theme, on every page and in the states that bring texts into view.
// The colours are those the widgets paint with (their palettes), not rendered pixels. Every Chinese
// text in view is also drawn at least as large as the typing test's passage, 13 pixels at 1x.

#include "byte_column_line.h"
#include "dark_theme.h"
#include "pages.h"
#include "window_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>

#include <cmath>

namespace {

double luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What lies behind `w`: the first of it and its parents that paints a ground of its own.
QColor groundOf(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (qobject_cast<const QLineEdit*>(w))
            return w->palette().color(QPalette::Base);
        if (qobject_cast<const QPushButton*>(w))
            return w->palette().color(QPalette::Button);
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    }
    return {};
}

QString textOf(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->pixmap().isNull() ? l->text() : QString();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* m = qobject_cast<const QPlainTextEdit*>(w))
        return m->toPlainText();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* line = dynamic_cast<const app::ByteColumnLine*>(w))
        return line->text();
    if (auto* bar = qobject_cast<const QTabBar*>(w))
        return bar->tabText(0);
    return {};
}

QColor inkOf(const QWidget* w) {
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w))
        return w->palette().color(QPalette::Text);
    if (qobject_cast<const QPushButton*>(w))
        return w->palette().color(QPalette::ButtonText);
    return w->palette().color(QPalette::WindowText);
}

QColor groundOfText(const QWidget* w) {
    if (auto* m = qobject_cast<const QPlainTextEdit*>(w))
        return m->viewport()->palette().color(QPalette::Base);
    return groundOf(w);
}

// Texts drawn twice as a shadow and a face: the pair reads by its darker layer, which is checked.
// The banner's yellow copy is the shadow of the blue text; the About title is a yellow face on a
// blue shadow.
bool isDecorativeLayer(const QWidget* w) {
    return w->objectName() == QLatin1String("Label16") || w->objectName() == QLatin1String("Label19");
}

} // namespace

class TestContrast : public WindowTest {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        WindowTest::initTestCase();
        m_desktopTheme = QApplication::palette();
    }
    void cleanup() {
        WindowTest::cleanup();
        QApplication::setPalette(m_desktopTheme);
    }
    void everyTextReads_data();
    void everyTextReads();
    void themeSwitchedWhileRunning();

private:
    // Every visible text of the window, with what is wrong with it.
    QStringList failures(const QString& state);
    void walkThroughThePages(QStringList& failed);

    QPalette m_desktopTheme;
    static constexpr int kPassagePixels = 13;
};

QStringList TestContrast::failures(const QString& state) {
    QCoreApplication::processEvents();
    QStringList failed;
    int checked = 0;
    for (QWidget* w : m_window->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled() || isDecorativeLayer(w))
            continue;
        // A box the learner types into is checked empty too: its text comes with the next key.
        const bool typedInto = qobject_cast<QLineEdit*>(w) != nullptr;
        if (textOf(w).trimmed().isEmpty() && !typedInto)
            continue;
        ++checked;
        static const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        const int pixels = QFontInfo(w->font()).pixelSize();
        if (textOf(w).contains(chinese) && pixels < kPassagePixels)
            failed << QStringLiteral("%1: %2 (%3) \"%4\" at %5 px")
                          .arg(state, w->objectName(), QLatin1String(w->metaObject()->className()), textOf(w).left(12))
                          .arg(pixels);
        const QColor ink = inkOf(w);
        const QColor ground = groundOfText(w);
        const double ratio = contrast(ink, ground);
        if (ratio < 4.5)
            failed << QStringLiteral("%1: %2 (%3) %4 on %5, %6:1")
                          .arg(state, w->objectName(), QLatin1String(w->metaObject()->className()), ink.name(),
                               ground.name())
                          .arg(ratio, 0, 'f', 2);
    }
    if (checked < 5)
        failed << QStringLiteral("%1: only %2 texts found").arg(state).arg(checked);
    return failed;
}

void TestContrast::walkThroughThePages(QStringList& failed) {
    app::Form& f = form();
    failed << failures(QStringLiteral("start"));
    // The banner and each picture of the hint panel.
    for (controls::RadioButton* r : {&f.pictures.RadioButton17, &f.pictures.RadioButton20}) {
        m_window->runEvent([&] { r->check(); });
        failed << failures(r->name());
    }
    for (const app::Page& page : app::kPages) {
        showPage(page.name);
        failed << failures(QLatin1String(page.name));
    }
    // The drills with a category chosen and a code half typed (then a capital, which brings the Caps
    // Lock notice), the long phrases, a typing run with a wrong character, the About page's
    // photograph.
    showPage("TabSheet2");
    m_window->runEvent([&] { f.characters.RadioButton[2].check(); });
    QTest::keyClicks(QApplication::focusWidget(), f.characters.Panel13.caption());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("g"));
    failed << failures(QStringLiteral("character drill"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("G")); // Caps Lock on: the notice shows
    failed << failures(QStringLiteral("character drill, capitals"));
    // A short code in the hint, with the note of the full code it comes from.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    m_window->runEvent([&] { f.characters.RadioButton[4].check(); });
    failed << failures(QStringLiteral("second-level short codes"));
    showPage("TabSheet3");
    m_window->runEvent([&] { f.phrases.RadioButton[7].check(); });
    QTest::keyClicks(QApplication::focusWidget(), f.phrases.czts.caption());
    failed << failures(QStringLiteral("phrase drill"));
    m_window->runEvent([&] { f.phrases.RadioButton[10].check(); });
    failed << failures(QStringLiteral("long phrases"));
    showPage("TabSheet4");
    m_window->runEvent([&] { f.typing.RadioButton[11].check(); });
    m_window->runEvent([&] { f.typing.Button4.click(); });
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("错"));
    QCoreApplication::sendEvent(QApplication::focusWidget(), &commit);
    m_window->runEvent([&] { f.typing.Timer2.tick(); });
    failed << failures(QStringLiteral("typing run"));
    // The review the run leaves, then the lookup page with a phrase, a code's candidates, and both.
    m_window->runEvent([&] { f.typing.Button6.click(); });
    failed << failures(QStringLiteral("typing review"));
    showPage("TabSheet8");
    for (const QString& text : {QStringLiteral("中国"), QStringLiteral("tgf"), QStringLiteral("xc 经")}) {
        m_window->runEvent([&] { f.lookup.Edit30.edit(text); });
        failed << failures(QStringLiteral("lookup ") + text);
    }
    showPage("TabSheet5");
    m_window->runEvent([&] { f.about.CheckBox2.click(); });
    failed << failures(QStringLiteral("about, photograph"));
}

void TestContrast::everyTextReads_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light desktop theme") << false;
    QTest::newRow("dark desktop theme") << true;
}

void TestContrast::everyTextReads() {
    QFETCH(bool, dark);
    if (dark) {
        QApplication::setPalette(darkDesktopTheme());
        open();
    }
    QStringList failed;
    walkThroughThePages(failed);
    QVERIFY2(failed.isEmpty(), qPrintable(failed.join(QLatin1Char('\n'))));
}

// The desktop turns dark while the program runs: nothing of it shows through.
void TestContrast::themeSwitchedWhileRunning() {
    QApplication::setPalette(darkDesktopTheme());
    QStringList failed;
    walkThroughThePages(failed);
    QVERIFY2(failed.isEmpty(), qPrintable(failed.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestContrast)
#include "tst_contrast.moc"
