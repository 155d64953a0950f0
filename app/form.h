#pragma once
// The window's whole state, free of widgets: the focus, the lexicon table members the drills read,
// the picture-hint panel and every page's state machine. TForm1 shows it; tests drive it directly.

#include "about.h"
#include "character_drill.h"
#include "code_lookup.h"
#include "controls.h"
#include "desktop.h"
#include "mnemonic_drill.h"
#include "phrase_drill.h"
#include "picture_panel.h"
#include "root_drill.h"
#include "schema.h"
#include "table.h"
#include "typing.h"

#include <functional>
#include <optional>
#include <vector>

namespace app {

class Form {
public:
    // `dataFolder` holds the lexicon tables (the alias qvr); `phraseBatchFolder` the phrase
    // batches czzk.db, normally the working folder.
    Form(const QString& dataFolder, const QString& phraseBatchFolder, controls::Desktop& desktop);

    controls::Desktop& desktop;
    const QString dataFolder;
    const QString phraseBatchFolder;
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
    drills::CodeLookup lookup{focus, dataFolder, pictures};

    // The table members above, one row each: where the member opens which file, and the page whose
    // drill reads it (its name in pages.h) with that drill's categories. The constructor opens them;
    // a failure of one shows on the foot line while its page shows the category it was met in.
    struct TableUse {
        lexicon::Table& table;
        const QString& folder;
        const char* file;
        const char* page;
        const controls::RadioGroup& categories;
    };
    const std::vector<TableUse> tables{
        {Table1, dataFolder, lexicon::schema::kCharacterCodeFile, "TabSheet2", characters.GroupBox1},
        {Table2, dataFolder, lexicon::schema::kCharacterBatchFile, "TabSheet2", characters.GroupBox1},
        {Table3, dataFolder, lexicon::schema::kPhraseCodeFile, "TabSheet3", phrases.Panel6},
        {Table4, phraseBatchFolder, lexicon::schema::kPhraseBatchFile, "TabSheet3", phrases.Panel6},
    };

    // The explanations under the drills' hints, each with the page that shows it: asked again after
    // every event, a fault of cf.db one met going to the foot line (explanationFailed).
    struct HintExplanationUse {
        drills::HintExplanation& explanation;
        const char* page;
    };
    const std::vector<HintExplanationUse> hintExplanations{
        {characters.hintExplanation, "TabSheet2"},
        {phrases.hintExplanation, "TabSheet3"},
        {phrases.longPhraseExplanation, "TabSheet3"},
    };

    // Runs from start-up whatever page is shown: it scrolls a picture on the About page.
    controls::Timer Timer3{QStringLiteral("Timer3"), 200, true};
    About about{Timer3, desktop};

    // The failure of a table that concerns what is on screen: the page in view, in the state its
    // drill was in when it met the failure (the category then chosen). It goes when the page is left
    // or the category changed, and comes back with the page while the category stays; hidden
    // while nothing on screen concerns a failure.
    controls::Label TableErrorLine{QStringLiteral("TableErrorLine")};
    // The failure TableErrorLine shows, with its parts; none while it is hidden.
    const lexicon::TableError* tableErrorShown() const { return m_errorShown ? &*m_errorShown : nullptr; }

    // The errors met opening the tables at start-up, one a table, shown together in one dialog;
    // the rest of the program works without a table that failed.
    const QStringList& startupErrors() const { return m_startupErrors; }

    // Opens the lookup page on `text`: it is looked up, and the page comes into view after the event.
    void lookUp(const QString& text);
    // A click on character `index` of passage line `block` of the typing test looks it up, while no
    // run is under way.
    void lookUpPassage(int block, int index);
    // The page a handler asked to bring into view (its name in pages.h), until the window shows it.
    QString pageToShow;

    // "练习这些字": the single-character drill's "练错字" on `characters` (each counted a miss), from
    // page `from` (its name in pages.h), to which Button34 then leads back.
    void practise(const QString& characters, const QString& from);
    // The Chinese characters of what the lookup page looks up, which its "练习这些字" practises.
    QString lookupCharacters() const;
    controls::Button Button32{QStringLiteral("Button32")}; // "练习这些字" under the typing test's wrong characters
    controls::Button Button33{QStringLiteral("Button33")}; // "练习这些字" on the lookup page
    controls::Button Button34{QStringLiteral("Button34")}; // "返回…" on the single-character page, after either
    void Button32Click() { practise(typing.Label41.caption(), QStringLiteral("TabSheet4")); }
    void Button33Click() { practise(lookupCharacters(), QStringLiteral("TabSheet8")); }
    void Button34Click();

    // Sets every page's start state (its row's start handler), once every control exists.
    void FormCreate();

    // The view tells which page is in view (its name in pages.h), as an event of its own.
    void pageShown(const QString& page);

    // Runs one event's handlers. A table failure ends the chain where it happened; the program
    // goes on. A table's first failure opens a dialog; while it keeps failing (a bad row met at
    // every keystroke) it only shows in TableErrorLine, until that table opens again.
    void run(const std::function<void()>& handlers);

    // A fault of the explanation table cf.db, met explaining the hint of `page` (its name in
    // pages.h): on the foot line while that page shows the category it was met in, as a table's
    // failure is, but without a dialog: the drill itself goes on whole, only unexplained.
    void explanationFailed(const lexicon::TableError& error, const QString& page);

private:
    void explainHints();
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
        lexicon::TableError error;
        QString page;                          // the page whose drill reads the table; empty for none
        const controls::RadioButton* category; // the page's category when it failed, or none
    };
    void tableFailed(const lexicon::TableError& error);
    void forgetRecovered();
    const TableUse* useOf(const QString& table) const;
    const controls::RadioButton* categoryOf(const QString& page) const;
    void showFailures();

    QStringList m_startupErrors;
    std::vector<Known> m_known;
    std::vector<OnScreen> m_onScreen; // oldest first
    std::optional<lexicon::TableError> m_errorShown;
    QString m_page;
    QString m_backTo; // where Button34 leads
    // The typing test's wrong characters join the drill's missed ones at the end of every run.
    void gatherTypingMisses();
    // The practice buttons follow what they practise: shown with the wrong characters, enabled
    // with a character looked up.
    void showPracticeButtons();
};

} // namespace app
