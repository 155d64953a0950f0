#pragma once
// The mnemonic drill (page "口诀识记"): the verse of one key in large type; the learner types the
// key's letter. The 25 verses run as a closed cycle, item 25 followed by item 1 again.
//
// The chain is the key drills' own (key_drill.h): counter Edit24 loads the letter into Label35 and
// the verse into Label33; every change of Edit23 is checked against Label35; a right letter clears
// Edit23 and clicks Button14, the advance. Choosing a hint option shows or hides Label35 and
// empties Edit23. Showing the page asks the picture-hint panel for the root map first, then
// empties Edit23 and puts the focus there; the item stays where the learner left it.

#include "controls.h"
#include "key_drill.h"
#include "picture_hints.h"

namespace drills {

class MnemonicDrill {
public:
    MnemonicDrill(controls::Focus& focus, PictureHints& pictures);

    static constexpr int kItems = 25;
    // The key letter and the verse of item n (1-25); lines of a verse are joined by "\r".
    static QChar key(int item);
    static QString verse(int item);

    controls::Label Label33{QStringLiteral("Label33")}; // the verse
    controls::Label Label35{QStringLiteral("Label35")}; // the key letter: the hint and the expected answer
    controls::Edit Edit23{QStringLiteral("Edit23")};
    controls::Edit Edit24{QStringLiteral("Edit24")};       // item counter
    controls::Button Button14{QStringLiteral("Button14")}; // advance step
    controls::RadioGroup Panel18;
    controls::RadioButton RadioButton28{QStringLiteral("RadioButton28"), QStringLiteral("提示"), Panel18};
    controls::RadioButton RadioButton29{QStringLiteral("RadioButton29"), QStringLiteral("不提示"), Panel18};

    void Edit24Change();
    void Edit23Change();
    void Button14Click();
    void TabSheet7Show();
    void RadioButton28Click();
    void RadioButton29Click();

    const KeyDrill& pattern() const { return m_pattern; }

private:
    controls::Focus& m_focus;
    PictureHints& m_pictures;
    KeyDrill m_pattern;
};

} // namespace drills
