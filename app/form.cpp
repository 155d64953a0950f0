#include "form.h"

namespace app {

Form::Form(const QString& dataFolder, const QString& phraseBatchFolder, controls::Desktop& desktop_)
    : desktop(desktop_), characters(focus, Table1, Table2, dataFolder, pictures), typing(focus, desktop_) {
    Timer3.onTimer = [this] { Timer3Timer(); };
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
            m_startupErrors << e.message();
        }
    }
}

void Form::FormCreate() {
    characters.RadioButton22.check();
}

void Form::Timer3Timer() {}

void Form::run(const std::function<void()>& handlers) {
    try {
        handlers();
    } catch (const lexicon::TableError& e) {
        desktop.error(e.message());
    }
}

} // namespace app
