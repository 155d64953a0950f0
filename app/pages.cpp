#include "pages.h"

#include "form.h"

namespace app {

const Page kPages[7] = {
    {"TabSheet1", "五笔字根表", buildRootChartPage, nullptr},
    {"TabSheet7", "口诀识记", buildMnemonicDrillPage, [](Form& f) { f.mnemonics.TabSheet7Show(); }},
    {"TabSheet6", "字根练习", buildRootDrillPage, [](Form& f) { f.roots.TabSheet6Show(); }},
    {"TabSheet2", "单字练习", buildCharacterDrillPage, nullptr},
    {"TabSheet3", "词组练习", buildPhraseDrillPage, nullptr},
    {"TabSheet4", "文章测试", buildTypingTestPage, nullptr},
    {"TabSheet5", "关于软件", buildAboutPage, nullptr},
};

void buildEmptyPage(QWidget*, Form&, Binder&) {}

} // namespace app
