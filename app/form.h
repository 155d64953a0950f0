#pragma once
// The window's whole state, free of widgets: the focus, the four lexicon table members, the
// picture-hint panel and every page's state machine. TForm1 shows it; tests drive it directly.

#include "about.h"
#include "character_drill.h"
#include "controls.h"
#include "desktop.h"
#include "mnemonic_drill.h"
#include "phrase_drill.h"
#include "picture_panel.h"
#include "root_drill.h"
#include "table.h"
#include "typing.h"

#include <functional>
#include <vector>

namespace app {

class Form {
public:
    // `dataFolder` holds the lexicon tables (the alias qvr); `phraseBatchFolder` the phrase
    // batches czzk.db, normally the working folder.
    Form(const QString& dataFolder, const QString& phraseBatchFolder, controls::Desktop& desktop);

    controls::Desktop& desktop;
    const QString dataFolder;
    controls::Focus focus;

    lexicon::Table Table1{QStringLiteral("Table1")};
    lexicon::Table Table2{QStringLiteral("Table2")};
    lexicon::Table Table3{QStringLiteral("Table3")};
    lexicon::Table Table4{QStringLiteral("Table4")};

    PicturePanel pictures;
    // One a page, in the order of the pages; each page's row (pages.h) says how it starts.
    drills::MnemonicDrill mnemonics{focus, pictures};
    drills::RootDrill roots{focus, pictures};
    drills::CharacterDrill characters{focus, Table1, Table2, dataFolder, pictures};
    drills::PhraseDrill phrases{focus, Table3, Table4, pictures, desktop};
    typing::TypingTest typing{focus, desktop};

    // Runs from start-up whatever page is shown: it scrolls a picture on the About page.
    controls::Timer Timer3{QStringLiteral("Timer3"), 200, true};
    About about{Timer3, desktop};

    // The failure of a table that concerns what is on screen: the page in view, in the state its
    // drill was in when it met the failure (the category then chosen). It goes when the page is left
    // or the category changed, and comes back with the page while the category stays; hidden
    // while nothing on screen concerns a failure.
    controls::Label TableErrorLine{QStringLiteral("TableErrorLine")};

    // The errors met opening the tables at start-up, one a table, shown together in one dialog;
    // the rest of the program works without a table that failed.
    const QStringList& startupErrors() const { return m_startupErrors; }

    // Sets every page's start state (its row's start handler), once every control exists.
    void FormCreate();

    // The pages whose drills read tables (the page's row in pages.h says which), for the foot line:
    // pageOf knows their tables, categoryOf their category. Every other page is Other.
    enum class Screen { Other, Characters, Phrases };
    // The view tells which page is in view, as an event of its own.
    void pageShown(Screen page);

    // Runs one event's handlers. A table failure ends the chain where it happened; the program
    // goes on. A table's first failure opens a dialog; while it keeps failing (a bad row met at
    // every keystroke) it only shows in TableErrorLine, until that table opens again.
    void run(const std::function<void()>& handlers);

private:
    // A failure shown in a dialog: another failure of the same table opens none until the table
    // has opened again.
    struct Known {
        QString table; // the table file, as TableError::file gives it
        int opens;     // the member's successful opens when it failed: one more means it recovered
    };
    // A failure as the foot line shows it, with the state it concerns.
    struct OnScreen {
        QString table;
        int opens;
        QString message;
        Screen page;
        const controls::RadioButton* category; // the page's category when it failed, or none
    };
    void tableFailed(const lexicon::TableError& error);
    void forgetRecovered();
    const lexicon::Table* memberOf(const QString& table) const;
    Screen pageOf(const lexicon::Table* member) const;
    const controls::RadioButton* categoryOf(Screen page) const;
    void showFailures();

    QStringList m_startupErrors;
    std::vector<Known> m_known;
    std::vector<OnScreen> m_onScreen; // oldest first
    Screen m_page = Screen::Other;
};

} // namespace app
