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
            m_failures.push_back({e.file(), e.message(), t.table.opens()});
        }
    }
    showFailures();
}

void Form::FormCreate() {
    for (const Page& p : kPages)
        if (p.start)
            p.start(*this);
}

void Form::run(const std::function<void()>& handlers) {
    try {
        handlers();
    } catch (const lexicon::TableError& e) {
        tableFailed(e);
    }
    forgetRecovered();
    showFailures();
}

void Form::tableFailed(const lexicon::TableError& error) {
    // A table that opened again earlier in this same event fails afresh.
    forgetRecovered();
    // A member never opened names no file; its message stands for it.
    const QString table = error.file().isEmpty() ? error.message() : error.file();
    const auto known =
        std::find_if(m_failures.begin(), m_failures.end(), [&](const Failure& f) { return f.table == table; });
    if (known != m_failures.end()) {
        // The line shows the failure met last.
        Failure again = *known;
        again.message = error.message();
        m_failures.erase(known);
        m_failures.push_back(again);
        return;
    }
    m_failures.push_back({table, error.message(), opensOf(table)});
    desktop.error(error.message());
}

int Form::opensOf(const QString& table) const {
    for (const lexicon::Table* t : {&Table1, &Table2, &Table3, &Table4}) {
        if (t->file() == table)
            return t->opens();
    }
    return 0;
}

void Form::forgetRecovered() {
    const auto recovered = [this](const Failure& f) {
        for (const lexicon::Table* t : {&Table1, &Table2, &Table3, &Table4}) {
            if (t->file() == f.table && t->isOpen() && t->opens() != f.opens)
                return true;
        }
        return false;
    };
    m_failures.erase(std::remove_if(m_failures.begin(), m_failures.end(), recovered), m_failures.end());
}

void Form::showFailures() {
    TableErrorLine.setCaption(m_failures.empty() ? QString() : m_failures.back().message);
    TableErrorLine.setVisible(!m_failures.empty());
}

} // namespace app
