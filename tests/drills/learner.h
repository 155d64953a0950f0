#pragma once
// A learner at a drill's code boxes: clicks into a box, types letter by letter, presses Esc.

#include "controls.h"

#include <QString>

namespace fixture {

struct Learner {
    controls::Focus focus;

    // The learner clicks into a code box and types letter by letter.
    void typeInto(controls::Edit& box, const QString& letters) {
        focus.set(box, controls::Focus::Reason::Mouse);
        type(letters);
    }
    // Types into whichever box has the focus; `letters` is a copy, since typing changes the hint
    // the letters may come from.
    void type(QString letters) {
        auto* box = dynamic_cast<controls::Edit*>(focus.current());
        Q_ASSERT(box);
        for (QChar c : letters)
            box->type(c);
    }
    static void escape(controls::Edit& box) {
        QChar esc(27);
        box.keyPress(esc);
    }
};

} // namespace fixture
