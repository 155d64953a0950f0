#pragma once
// The chain both key drills share (pages "口诀识记" and "字根练习").
//
// A hidden counter box holds the item number; changing its text loads that item: the expected key
// letter into the hint label, then the item itself (a verse, a picture). The number one past the
// last item sets the counter back to "1", which loads item 1 at once, so the counter never rests
// there. Every change of the entry box is compared with the hint label's caption, which is the
// expected answer whether the hint is shown or not: a right letter (a drill with pictures first
// hides them all) selects and clears the entry box, whose check runs again on the empty text, and
// then clicks the hidden advance button, which adds one to the counter and so loads the next item.
// A wrong letter is only selected, so that the next key replaces it.
//
// The drills own their controls; this is the part of their handlers that is the same for both.

#include "controls.h"

#include <QString>

#include <functional>

namespace drills {

class KeyDrill {
public:
    struct Controls {
        controls::Edit& counter;
        controls::Edit& entry;
        controls::Button& advance;
        controls::Label& answer;
        controls::Button* hideAll; // the drill's hide-all step, run before an advance (or none)
    };

    // `keys` holds the expected letter of every item in counter order; `showItem(n)` shows item n
    // once its letter is in the hint label.
    KeyDrill(Controls controls, QLatin1String keys, std::function<void(int item)> showItem);

    int items() const { return static_cast<int>(m_keys.size()); }
    QChar key(int item) const { return QLatin1Char(m_keys[item - 1]); }
    // The item the counter names, or 0 for a text that names none.
    int item() const;

    void counterChange(); // load
    void entryChange();   // check
    void advanceClick();  // counter plus one

    // What the learner may leave in an entry box: one letter, or nothing.
    static bool isKeyText(const QString& text);

private:
    Controls m_c;
    QLatin1String m_keys;
    std::function<void(int)> m_showItem;
};

} // namespace drills
