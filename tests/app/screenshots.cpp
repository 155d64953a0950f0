// Renders the window in its main states to PNG files, to be looked at by eye; with "dark" after the
// folder, under a dark desktop theme.

#include "dark_theme.h"
#include "fonts.h"
#include "main_window.h"
#include "pages.h"
#include "recording_desktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    app::fonts::install();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    // "dark" after the folder: the desktop runs a dark theme.
    if (argc > 2 && QByteArray(argv[2]) == "dark")
        QApplication::setPalette(darkDesktopTheme());
    QDir().mkpath(out);
    RecordingDesktop desktop;
    app::TForm1 w(QStringLiteral(VARDELO_BUILD_DATA_DIR), &desktop);
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        return 2;
    // A picture that cannot be written, or a page that is not there, fails the run, naming it.
    bool failed = false;
    auto shot = [&](const QString& name, QWidget* window = nullptr) {
        QCoreApplication::processEvents();
        const QString file = out + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!(window ? window : &w)->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            failed = true;
        }
    };
    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    // Shows the page of app/pages.h named `name`, as a click on its tab.
    auto showPage = [&](const char* name) {
        pages->setCurrentIndex(app::pageIndex(QLatin1String(name)));
        if (pages->currentWidget()->objectName() != QLatin1String(name)) {
            std::fprintf(stderr, "no page named %s\n", name);
            failed = true;
        }
    };
    app::Form& f = w.form();
    // The scrolling picture on the About page moves only by the ticks given below, so that two
    // runs give the same pictures.
    f.Timer3.setEnabled(false);
    shot(QStringLiteral("start"));
    const struct {
        controls::RadioButton& r;
        const char* name;
    } selectors[] = {{f.pictures.RadioButton19, "selector-19-mnemonics"},
                     {f.pictures.RadioButton21, "selector-21-roots"},
                     {f.pictures.RadioButton17, "selector-17-key-names"},
                     {f.pictures.RadioButton18, "selector-18-first-level"},
                     {f.pictures.RadioButton20, "selector-20-banner"}};
    for (const auto& s : selectors) {
        w.runEvent([&] { s.r.check(); });
        shot(QLatin1String(s.name));
    }

    showPage("TabSheet2");
    w.runEvent([&] { f.characters.RadioButton[5].check(); });
    for (int slot = 1; slot <= 6; ++slot) {
        const QString code = f.characters.Panel13.caption();
        QTest::keyClicks(QApplication::focusWidget(), code);
    }
    QTest::keyClicks(QApplication::focusWidget(), f.characters.Panel13.caption().left(2));
    shot(QStringLiteral("drill-hint-on"));
    w.runEvent([&] { f.characters.RadioButton23.check(); });
    shot(QStringLiteral("drill-hint-off"));
    // Caps Lock on: the code box shows capitals and the notice stands under it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClicks(QApplication::focusWidget(), f.characters.Panel13.caption().toUpper());
    shot(QStringLiteral("drill-capitals"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    // The code explanation under the hint: a key name; a character of two roots with its
    // identification letter; a character of four roots (转, slot 14 of the first third-level batch).
    w.runEvent([&] { f.characters.RadioButton22.check(); });
    w.runEvent([&] { f.characters.RadioButton[1].check(); });
    shot(QStringLiteral("explain-key-name"));
    w.runEvent([&] { f.characters.RadioButton[6].check(); });
    shot(QStringLiteral("explain-identification"));
    w.runEvent([&] { f.characters.RadioButton[5].check(); });
    for (int slot = 1; slot < 14; ++slot)
        QTest::keyClicks(QApplication::focusWidget(), f.characters.Panel13.caption());
    shot(QStringLiteral("explain-four-roots"));
    // A hint code with the letter l in it (田 llll), which must not read as the digit 1.
    w.runEvent([&] { f.characters.RadioButton22.check(); });
    w.runEvent([&] { f.characters.RadioButton[1].check(); });
    for (int slot = 0; slot < 30 && !f.characters.Panel13.caption().contains(QLatin1Char('l')); ++slot)
        QTest::keyClicks(QApplication::focusWidget(), f.characters.Panel13.caption());
    shot(QStringLiteral("drill-hint-l"));

    // The key drills: the three-line verse with the hint, a two-line one without; a root picture
    // with a wrong letter left selected, with the hint and without.
    showPage("TabSheet7");
    for (int item = 1; item < 15; ++item)
        QTest::keyClicks(QApplication::focusWidget(), f.mnemonics.Label35.caption().toLower());
    shot(QStringLiteral("mnemonic-hint-on"));
    w.runEvent([&] { f.mnemonics.RadioButton29.check(); });
    for (int item = 15; item < 20; ++item)
        QTest::keyClicks(QApplication::focusWidget(), f.mnemonics.Label35.caption().toLower());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("z"));
    shot(QStringLiteral("mnemonic-hint-off"));
    showPage("TabSheet6");
    for (int item = 1; item < 4; ++item)
        QTest::keyClicks(QApplication::focusWidget(), f.roots.zigenLabel.caption().toLower());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("z"));
    shot(QStringLiteral("roots-hint-on"));
    w.runEvent([&] { f.roots.RadioButton27.check(); });
    shot(QStringLiteral("roots-hint-off"));

    // The phrase page: a two-character batch with two phrases accepted and a third half typed;
    // then the long-phrase panel.
    showPage("TabSheet3");
    w.runEvent([&] { f.phrases.RadioButton[7].check(); });
    for (int slot = 1; slot <= 2; ++slot)
        QTest::keyClicks(QApplication::focusWidget(), f.phrases.czts.caption());
    QTest::keyClicks(QApplication::focusWidget(), f.phrases.czts.caption().left(2));
    shot(QStringLiteral("phrases-hint-on"));
    w.runEvent([&] { f.phrases.RadioButton[8].check(); });
    shot(QStringLiteral("explain-three-characters"));
    w.runEvent([&] { f.phrases.RadioButton[10].check(); });
    QTest::keyClicks(QApplication::focusWidget(), f.phrases.czts.caption().left(1));
    shot(QStringLiteral("phrases-long"));
    w.runEvent([&] { f.phrases.RadioButton31.check(); });
    shot(QStringLiteral("phrases-review-empty"));

    // The typing test ready, then mid-line: the first line typed with two mistakes.
    showPage("TabSheet4");
    w.runEvent([&] { f.typing.RadioButton[12].check(); });
    // Ready: the line above the passage says a click on it looks a character up.
    shot(QStringLiteral("typing-ready"));
    w.runEvent([&] { f.typing.Button4.click(); });
    QString line = f.typing.RichEdit[1].text().left(18);
    line[3] = QChar(0x9519);  // 错
    line[10] = QChar(0x8BEF); // 误
    for (QChar c : line) {
        // As an input method commits a character.
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QCoreApplication::sendEvent(QApplication::focusWidget(), &commit);
    }
    for (int i = 0; i < 7; ++i)
        w.runEvent([&] {
            f.typing.Timer1.tick();
            f.typing.Timer2.tick();
        });
    shot(QStringLiteral("typing-test"));
    // The review after the run ends: the characters typed wrong, each a link to the lookup page.
    w.runEvent([&] { f.typing.Button6.click(); });
    shot(QStringLiteral("typing-review"));
    // Those characters practised in "练错字"; a wrong code there, its line under the box; then back.
    w.runEvent([&] { f.Button32.click(); });
    if (!QTest::qWaitFor([&] { return pages->currentWidget()->objectName() == QLatin1String("TabSheet2"); })) {
        std::fprintf(stderr, "the practice button did not open the single-character page\n");
        failed = true;
    }
    shot(QStringLiteral("practise-review"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("tgfz"));
    shot(QStringLiteral("practise-wrong-code"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    w.runEvent([&] { f.Button34.click(); });
    if (!QTest::qWaitFor([&] { return pages->currentWidget()->objectName() == QLatin1String("TabSheet4"); })) {
        std::fprintf(stderr, "the way back did not open the typing page\n");
        failed = true;
    }

    // The lookup page: a character, phrases, a key name's codes, codes and their lists, the any-letter
    // key, a character without a split, input outside GB2312 and signs, and the character the review
    // opens.
    showPage("TabSheet8");
    const struct {
        const char* text;
        const char* name;
    } lookups[] = {{"经", "lookup-character"},
                   {"中国人民", "lookup-phrase"},
                   {"中华人民共和国", "lookup-long-phrase"},
                   {"大", "lookup-key-name"},
                   {"tgf", "lookup-code"},
                   {"x", "lookup-code-list"},
                   {"xz", "lookup-any-letter"},
                   {"xc ag", "lookup-two-codes"},
                   {"嫌", "lookup-exception"},
                   {"临", "lookup-no-split"},
                   {"網絡abc", "lookup-rejected"},
                   {"犇々\xF0\x9F\x98\x80", "lookup-outside"}};
    for (const auto& l : lookups) {
        w.runEvent([&] { f.lookup.Edit30.edit(QString::fromUtf8(l.text)); });
        shot(QLatin1String(l.name));
    }
    showPage("TabSheet4");
    w.runEvent([&] { f.lookUp(f.typing.Label41.caption().left(1)); });
    if (!QTest::qWaitFor([&] { return pages->currentWidget()->objectName() == QLatin1String("TabSheet8"); })) {
        std::fprintf(stderr, "the review did not open the lookup page\n");
        failed = true;
    }
    shot(QStringLiteral("lookup-from-review"));

    // Two more runs of the typing test, the second finished; then another test chosen, with the
    // session's runs newest first beside the line on clicks.
    showPage("TabSheet4");
    for (int run = 1; run <= 2; ++run) {
        w.runEvent([&] { f.typing.Button4.click(); });
        for (int b = 1; b <= 4; ++b) {
            QString text = f.typing.RichEdit[b].text();
            if (run == 1)
                text = text.left(20);
            else
                text[3] = QChar(0x9519); // one wrong character a line
            w.runEvent([&] {
                for (int i = 0; i < 30 * run; ++i) {
                    f.typing.Timer1.tick();
                    f.typing.Timer2.tick();
                }
                f.typing.commit(b, text);
            });
        }
        if (run == 1)
            w.runEvent([&] { f.typing.Button6.click(); });
    }
    shot(QStringLiteral("typing-second-result"));
    w.runEvent([&] { f.typing.RadioButton[13].check(); });
    shot(QStringLiteral("typing-history"));
    // The list of those runs, opened from the chart in the first line's indent; a window of its own.
    if (auto* chart = w.findChild<QAbstractButton*>(QStringLiteral("RunChart")))
        chart->click();
    QWidget* list = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("RunList") && top->isVisible())
            list = top;
    if (list) {
        QCoreApplication::processEvents();
        const QString file = out + QStringLiteral("/typing-run-list.png");
        if (!list->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            failed = true;
        }
        list->close();
    } else {
        std::fprintf(stderr, "the chart opened no list of runs\n");
        failed = true;
    }

    // The About page with the scrolling picture half out of its frame, then with the photograph.
    showPage("TabSheet5");
    for (int i = 0; i < 22; ++i) {
        w.runEvent([&] {
            f.Timer3.setEnabled(true);
            f.Timer3.tick();
            f.Timer3.setEnabled(false);
        });
    }
    shot(QStringLiteral("about"));
    w.runEvent([&] { f.about.CheckBox2.click(); });
    shot(QStringLiteral("about-photo"));

    // The foot line of a failing table, under a window whose data folder is not there: a short
    // folder, and one too deep for the line, which then leaves it out.
    const QString deep = QStringLiteral("/nowhere/一个很长很长的文件夹名称").repeated(8);
    for (const QString& folder : {QStringLiteral("/nowhere/数据"), deep}) {
        RecordingDesktop missing;
        app::TForm1 bare(folder, &missing);
        bare.show();
        QCoreApplication::processEvents();
        bare.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(app::pageIndex(u"TabSheet2"));
        bare.runEvent([&] { bare.form().characters.RadioButton[1].check(); });
        shot(folder == deep ? QStringLiteral("table-error-deep-folder") : QStringLiteral("table-error"), &bare);
    }

    for (const QString& error : desktop.errors)
        std::fprintf(stderr, "error dialog: %s\n", qPrintable(error));
    return desktop.errors.isEmpty() && !failed ? 0 : 1;
}
