#include "form.h"

#include "pages.h"

#include <algorithm>

namespace app {

Form::Form(const QString& dataFolder_, const QString& phraseBatchFolder_, controls::Desktop& desktop_)
    : desktop(desktop_), dataFolder(dataFolder_), phraseBatchFolder(phraseBatchFolder_) {
    for (const TableUse& t : tables) {
        try {
            t.table.open(t.folder, QLatin1String(t.file));
        } catch (const lexicon::TableError& e) {
            // The start-up dialog is this table's one dialog.
            m_startupErrors << e.message();
            m_known.push_back({e.file(), t.table.opens()});
            m_onScreen.push_back({e.file(), t.table.opens(), e, QLatin1String(t.page), nullptr});
        }
    }
    showFailures();

    Button32.setCaption(QStringLiteral("练习这些字"));
    Button33.setCaption(QStringLiteral("练习这些字"));
    Button34.hide();
    Button32.onClick = [this] { Button32Click(); };
    Button33.onClick = [this] { Button33Click(); };
    Button34.onClick = [this] { Button34Click(); };
    // A run ends with its finish step (which stops it by clicking Stop) or with a click on Stop
    // while it runs; either way its wrong characters are listed then.
    typing.Button5.onClick = [this, finish = typing.Button5.onClick] {
        finish();
        gatherTypingMisses();
    };
    typing.Button6.onClick = [this, stop = typing.Button6.onClick] {
        const bool ran = typing.running();
        stop();
        if (ran)
            gatherTypingMisses();
    };
    showPracticeButtons();
}

void Form::gatherTypingMisses() {
    for (QChar c : typing.Label41.caption())
        characters.missed.missed(QString(c));
}

QString Form::lookupCharacters() const {
    QString s;
    for (QChar c : lookup.Edit30.text())
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF && !s.contains(c))
            s += c;
    return s;
}

void Form::showPracticeButtons() {
    Button32.setVisible(typing.Label41.visible() && !typing.Label41.caption().isEmpty());
    Button33.setEnabled(!lookupCharacters().isEmpty());
}

void Form::practise(const QString& text, const QString& from) {
    if (text.isEmpty())
        return;
    characters.practise(text);
    m_backTo = from;
    Button34.setCaption(QStringLiteral("返回") + QString::fromUtf8(kPages[pageIndex(from)].caption));
    Button34.show();
    pageToShow = QStringLiteral("TabSheet2");
}

void Form::Button34Click() {
    Button34.hide();
    pageToShow = m_backTo;
}

void Form::FormCreate() {
    for (const Page& p : kPages)
        if (p.start)
            p.start(*this);
    explainHints();
}

void Form::explainHints() {
    for (const HintExplanationUse& h : hintExplanations) {
        h.explanation.update();
        for (const lexicon::TableError& fault : h.explanation.takeNewFaults())
            explanationFailed(fault, QLatin1String(h.page));
    }
    // The wrong-code lines explain with explainers of their own; what those find at fault is said
    // the same way.
    for (const lexicon::TableError& fault : characters.takeWrongCodeFaults())
        explanationFailed(fault, QLatin1String("TabSheet2"));
    for (const lexicon::TableError& fault : phrases.takeWrongCodeFaults())
        explanationFailed(fault, QLatin1String("TabSheet3"));
}

void Form::lookUp(const QString& text) {
    lookup.Edit30.setText(text);
    pageToShow = QStringLiteral("TabSheet8");
}

void Form::lookUpPassage(int block, int index) {
    const QString& line = typing.passageLine(block).text();
    if (typing.running() || index < 0 || index >= line.size())
        return;
    lookUp(line.mid(index, 1));
}

void Form::pageShown(const QString& page) {
    m_page = page;
    showFailures();
}

void Form::run(const std::function<void()>& handlers) {
    try {
        handlers();
    } catch (const lexicon::TableError& e) {
        tableFailed(e);
    }
    explainHints();
    showPracticeButtons();
    showFailures();
}

void Form::explanationFailed(const lexicon::TableError& error, const QString& page) {
    // Met through wb.db, the fault is one of a drill's table, which goes when that table opens again.
    const TableUse* use = useOf(error.file());
    m_onScreen.erase(std::remove_if(m_onScreen.begin(), m_onScreen.end(),
                                    [&](const OnScreen& f) { return f.table == error.file(); }),
                     m_onScreen.end());
    m_onScreen.push_back({error.file(), use ? use->table.opens() : 0, error, page, categoryOf(page)});
    showFailures();
}

void Form::tableFailed(const lexicon::TableError& error) {
    // A table that opened again earlier in this same event fails afresh.
    forgetRecovered();
    // A member never opened names no file; its message stands for it.
    const QString table = error.file().isEmpty() ? error.message() : error.file();
    const TableUse* use = useOf(table);
    const int opens = use ? use->table.opens() : 0;
    const QString page = use ? QLatin1String(use->page) : QString();
    // The line shows the failure met last.
    m_onScreen.erase(
        std::remove_if(m_onScreen.begin(), m_onScreen.end(), [&](const OnScreen& f) { return f.table == table; }),
        m_onScreen.end());
    m_onScreen.push_back({table, opens, error, page, categoryOf(page)});
    const bool known = std::any_of(m_known.begin(), m_known.end(), [&](const Known& k) { return k.table == table; });
    if (!known) {
        m_known.push_back({table, opens});
        desktop.error(error.message());
    }
}

const Form::TableUse* Form::useOf(const QString& table) const {
    for (const TableUse& t : tables) {
        if (t.table.file() == table)
            return &t;
    }
    return nullptr;
}

const controls::RadioButton* Form::categoryOf(const QString& page) const {
    for (const TableUse& t : tables) {
        if (page == QLatin1String(t.page))
            return t.categories.checked();
    }
    return nullptr;
}

void Form::forgetRecovered() {
    const auto recovered = [this](const QString& table, int opens) {
        const TableUse* t = useOf(table);
        return t && t->table.isOpen() && t->table.opens() != opens;
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
    m_onScreen.erase(
        std::remove_if(m_onScreen.begin(), m_onScreen.end(),
                       [this](const OnScreen& f) { return !f.page.isEmpty() && categoryOf(f.page) != f.category; }),
        m_onScreen.end());
    const auto shown = std::find_if(m_onScreen.rbegin(), m_onScreen.rend(),
                                    [this](const OnScreen& f) { return f.page.isEmpty() || f.page == m_page; });
    const bool any = shown != m_onScreen.rend();
    if (any)
        m_errorShown = shown->error;
    else
        m_errorShown.reset();
    TableErrorLine.setCaption(any ? shown->error.message() : QString());
    TableErrorLine.setVisible(any);
}

} // namespace app
