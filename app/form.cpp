#include "form.h"

#include "pages.h"

#include <algorithm>

namespace app {

Form::Form(const QString& dataFolder_, const QString& phraseBatchFolder, controls::Desktop& desktop_)
    : desktop(desktop_), dataFolder(dataFolder_) {
    const struct {
        lexicon::Table& table;
        const QString& folder;
        const char* name;
    } tables[] = {
        {Table1, dataFolder, "wb.db"},
        {Table2, dataFolder, "zk.db"},
        {Table3, dataFolder, "czwb.db"},
        {Table4, phraseBatchFolder, "czzk.db"},
    };
    for (const auto& t : tables) {
        try {
            t.table.open(t.folder, QLatin1String(t.name));
        } catch (const lexicon::TableError& e) {
            // The start-up dialog is this table's one dialog.
            m_startupErrors << e.message();
            m_known.push_back({e.file(), t.table.opens()});
            m_onScreen.push_back({e.file(), t.table.opens(), e.message(), pageOf(&t.table), nullptr});
        }
    }
    showFailures();
}

void Form::FormCreate() {
    for (const Page& p : kPages)
        if (p.start)
            p.start(*this);
}

void Form::pageShown(Screen page) {
    m_page = page;
    showFailures();
}

void Form::run(const std::function<void()>& handlers) {
    try {
        handlers();
    } catch (const lexicon::TableError& e) {
        tableFailed(e);
    }
    showFailures();
}

void Form::tableFailed(const lexicon::TableError& error) {
    // A table that opened again earlier in this same event fails afresh.
    forgetRecovered();
    // A member never opened names no file; its message stands for it.
    const QString table = error.file().isEmpty() ? error.message() : error.file();
    const lexicon::Table* member = memberOf(table);
    const int opens = member ? member->opens() : 0;
    const Screen page = pageOf(member);
    // The line shows the failure met last.
    m_onScreen.erase(
        std::remove_if(m_onScreen.begin(), m_onScreen.end(), [&](const OnScreen& f) { return f.table == table; }),
        m_onScreen.end());
    m_onScreen.push_back({table, opens, error.message(), page, categoryOf(page)});
    const bool known = std::any_of(m_known.begin(), m_known.end(), [&](const Known& k) { return k.table == table; });
    if (!known) {
        m_known.push_back({table, opens});
        desktop.error(error.message());
    }
}

const lexicon::Table* Form::memberOf(const QString& table) const {
    for (const lexicon::Table* t : {&Table1, &Table2, &Table3, &Table4}) {
        if (t->file() == table)
            return t;
    }
    return nullptr;
}

Form::Screen Form::pageOf(const lexicon::Table* member) const {
    if (member == &Table1 || member == &Table2)
        return Screen::Characters;
    if (member == &Table3 || member == &Table4)
        return Screen::Phrases;
    return Screen::Other;
}

const controls::RadioButton* Form::categoryOf(Screen page) const {
    switch (page) {
    case Screen::Characters:
        return characters.GroupBox1.checked();
    case Screen::Phrases:
        return phrases.Panel6.checked();
    case Screen::Other:
        break;
    }
    return nullptr;
}

void Form::forgetRecovered() {
    const auto recovered = [this](const QString& table, int opens) {
        const lexicon::Table* t = memberOf(table);
        return t && t->isOpen() && t->opens() != opens;
    };
    m_known.erase(
        std::remove_if(m_known.begin(), m_known.end(), [&](const Known& k) { return recovered(k.table, k.opens); }),
        m_known.end());
    m_onScreen.erase(std::remove_if(m_onScreen.begin(), m_onScreen.end(),
                                    [&](const OnScreen& f) { return recovered(f.table, f.opens); }),
                     m_onScreen.end());
}

void Form::showFailures() {
    forgetRecovered();
    // A failure concerns the state it was met in: once its page has another category, it is gone
    // for good. A failure of no page's (a table no member names) concerns every page.
    m_onScreen.erase(std::remove_if(m_onScreen.begin(), m_onScreen.end(),
                                    [this](const OnScreen& f) {
                                        return f.page != Screen::Other && categoryOf(f.page) != f.category;
                                    }),
                     m_onScreen.end());
    const auto shown = std::find_if(m_onScreen.rbegin(), m_onScreen.rend(),
                                    [this](const OnScreen& f) { return f.page == Screen::Other || f.page == m_page; });
    const bool any = shown != m_onScreen.rend();
    TableErrorLine.setCaption(any ? shown->message : QString());
    TableErrorLine.setVisible(any);
}

} // namespace app
