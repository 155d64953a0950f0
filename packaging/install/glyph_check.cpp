// Opens the trainer's window offscreen on a data folder, shows each page in turn and lays out every
// text a learner can read there (the tab row, captions, labels, buttons, boxes, memos) in the font
// its widget draws it with. Each character must come out as a real glyph of one of the faces the
// program means to draw with; anything drawn as a box, or in a stand-in face, is named with its
// text, its page and the face; the same for every verse of the mnemonic drill. It also saves a
// picture of each page.
//
//   vardelo_glyph_check DATA_FOLDER OUT_FOLDER [--stand-ins]
//
// Exit 0: every text drawn as meant. With --stand-ins, a face other than the program's counts as
// long as it draws the character (a face the program misses is replaced, never drawn as boxes).
//
// The install test runs it inside a fresh Debian root where only the package and what it depends
// on are installed, so it sees the fonts and the Qt libraries a user's machine has.

#include "faces.h"
#include "fonts.h"
#include "main_window.h"
#include "mnemonic_drill.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTextLayout>

#include <cstdio>
#include <map>

namespace {

void say(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// The face that draws one character in this font, or empty when it comes out as a box.
QString faceOf(const QFont& font, const QString& character) {
    QTextLayout layout(character, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.isEmpty())
        return QString();
    for (const QGlyphRun& run : runs)
        for (quint32 glyph : run.glyphIndexes())
            if (glyph == 0)
                return QString();
    return runs.first().rawFont().familyName();
}

QString textOf(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text().isEmpty() ? e->placeholderText() : e->text();
    if (auto* t = qobject_cast<const QTextEdit*>(w))
        return t->toPlainText();
    if (auto* t = qobject_cast<const QPlainTextEdit*>(w))
        return t->toPlainText();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    return QString();
}

struct Checker {
    QSet<QString> meant;
    bool standIns = false;
    std::map<QString, int> used; // face → characters it drew
    int texts = 0, characters = 0, faults = 0;

    void check(const QString& where, const QString& text, const QFont& font) {
        if (text.trimmed().isEmpty())
            return;
        ++texts;
        // The text's faulty characters, by what is wrong with them.
        std::map<QString, QString> wrong;
        for (const uint code : text.toUcs4()) {
            if (code <= 0x20)
                continue;
            const QString c = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
            ++characters;
            const QString face = faceOf(font, c);
            if (!face.isEmpty() && (standIns || meant.contains(face))) {
                ++used[face];
                continue;
            }
            const QString fault = face.isEmpty()
                                      ? QStringLiteral("boxes in %1").arg(QFontInfo(font).family())
                                      : QStringLiteral("drawn in %1, not in a face the program means").arg(face);
            if (!wrong[fault].contains(c))
                wrong[fault] += c;
        }
        for (const auto& [fault, which] : wrong) {
            ++faults;
            say(QStringLiteral("FAULT %1 «%2»: %3 %4").arg(where, text.left(40), which, fault));
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    const bool standIns = argc == 4 && QByteArray(argv[3]) == "--stand-ins";
    if (argc != 3 && !standIns) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER OUT_FOLDER [--stand-ins]\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    const QString data = QString::fromLocal8Bit(argv[1]), out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    const QStringList missing = app::fonts::install(app::fonts::standardFaces());
    for (const QString& line : missing)
        say(QStringLiteral("MISSING %1").arg(line));

    Checker checker;
    checker.standIns = standIns;
    for (const char* face :
         {app::faces::kSong, app::faces::kKai, app::faces::kSans, app::faces::kCode, app::faces::kRoot})
        checker.meant.insert(QString::fromUtf8(face));

    app::TForm1 window(data);
    window.show();
    QApplication::processEvents();
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    if (!tabs) {
        say(QStringLiteral("FAULT no page control in the window"));
        return 1;
    }
    for (int i = 0; i < tabs->count(); ++i)
        checker.check(QStringLiteral("tab row"), tabs->tabText(i), tabs->tabBar()->font());
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        QWidget* page = tabs->widget(i);
        const QString where = QStringLiteral("page %1 %2").arg(i + 1).arg(tabs->tabText(i));
        // The page's own widgets and the panel below the pages, as far as they are on show.
        QList<QWidget*> widgets = page->findChildren<QWidget*>();
        for (QWidget* w : window.findChildren<QWidget*>())
            if (w != tabs && !tabs->isAncestorOf(w))
                widgets << w;
        for (QWidget* w : widgets)
            if (w->isVisibleTo(&window))
                checker.check(QStringLiteral("%1 %2").arg(where, w->objectName()), textOf(w), w->font());
        window.grab().save(QStringLiteral("%1/page-%2.png").arg(out).arg(i + 1));
    }

    // The verses other than the one on show, in the verse's font: the Q verse writes 乂, which only
    // the face the program carries holds.
    if (auto* verse = window.findChild<QWidget*>(QStringLiteral("Label33"))) {
        for (int item = 1; item <= drills::MnemonicDrill::kItems; ++item)
            checker.check(QStringLiteral("verse %1").arg(item), drills::MnemonicDrill::verse(item), verse->font());
    } else {
        ++checker.faults;
        say(QStringLiteral("FAULT no verse label Label33 in the window"));
    }

    QStringList faces;
    for (const auto& [face, n] : checker.used)
        faces << QStringLiteral("%1 %2").arg(face).arg(n);
    say(QStringLiteral("checked %1 texts, %2 characters on %3 pages; drawn in: %4; faults: %5")
            .arg(checker.texts)
            .arg(checker.characters)
            .arg(tabs->count())
            .arg(faces.join(QStringLiteral(", ")))
            .arg(checker.faults));
    return checker.faults == 0 && (standIns || missing.isEmpty()) ? 0 : 1;
}
