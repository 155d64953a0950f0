#pragma once
// The pages of the window, one row each in tab order. A row holds all the window and the start-up
// need of a page: its object name and tab caption, the function that builds its widgets on the
// tab page and binds them to its state machine (run the first time the page is shown), its start
// state (set once at start-up, before any page is built), its show handler (run every time the
// page is shown, the first time too). Tests, benchmarks and the screenshot tool find a page by its
// name here (pageIndex), never by its place.

#include "form.h"

#include <QAnyStringView>

#include <iterator>

class QWidget;

namespace app {

class Binder;

struct Page {
    const char* name;
    const char* caption;
    void (*build)(QWidget* page, Form& form, Binder& binder);
    void (*start)(Form& form); // may be null
    void (*show)(Form& form);  // may be null
};

void buildRootChartPage(QWidget* page, Form& form, Binder& binder);
void buildMnemonicDrillPage(QWidget* page, Form& form, Binder& binder);
void buildRootDrillPage(QWidget* page, Form& form, Binder& binder);
void buildCharacterDrillPage(QWidget* page, Form& form, Binder& binder);
void buildPhraseDrillPage(QWidget* page, Form& form, Binder& binder);
void buildTypingTestPage(QWidget* page, Form& form, Binder& binder);
void buildAboutPage(QWidget* page, Form& form, Binder& binder);
void buildLookupPage(QWidget* page, Form& form, Binder& binder);

inline const Page kPages[] = {
    {"TabSheet1", "五笔字根表", buildRootChartPage, nullptr, nullptr},
    {"TabSheet7", "口诀识记", buildMnemonicDrillPage, nullptr, [](Form& f) { f.mnemonics.TabSheet7Show(); }},
    {"TabSheet6", "字根练习", buildRootDrillPage, nullptr, [](Form& f) { f.roots.TabSheet6Show(); }},
    // The hint is on from the start.
    {"TabSheet2", "单字练习", buildCharacterDrillPage, [](Form& f) { f.characters.RadioButton22.check(); }, nullptr},
    {"TabSheet3", "词组练习", buildPhraseDrillPage, [](Form& f) { f.phrases.RadioButton24.check(); }, nullptr},
    {"TabSheet4", "文章测试", buildTypingTestPage, nullptr, nullptr},
    {"TabSheet5", "关于软件", buildAboutPage, nullptr, nullptr},
    {"TabSheet8", "编码查询", buildLookupPage, nullptr, [](Form& f) { f.lookup.TabSheet8Show(); }},
};

// The place of the page named `name` among the rows, or -1 for none.
inline int pageIndex(QAnyStringView name) {
    for (int i = 0; i < static_cast<int>(std::size(kPages)); ++i)
        if (QAnyStringView::compare(name, QLatin1String(kPages[i].name)) == 0)
            return i;
    return -1;
}

// The picture-hint panel under the pages.
void buildPicturePanel(QWidget* window, PicturePanel& panel, Binder& binder);

} // namespace app
