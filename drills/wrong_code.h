#pragma once
// The one line the drills show under a code box holding a wrong code: what the letters give, and
// where they part from the target's code, with the root (or stroke, reason, character) that gives
// each of the two letters there, from the explanations of cf.db (code_explainer.h).
//   “xcaf”打出的是“X”：第三码 c 是 又；“经”的第三码是 a（工）
// With no explanation to hand, it names the letters only.

#include "code_explainer.h"

#include <QString>

namespace drills {

struct WrongCode {
    QString typed;     // the letters in the box
    QString gives;     // what they give; empty for nothing
    QString target;    // what they should give
    QString shownCode; // the target's code as the hint shows it
    Explanation targetExplanation;
    Explanation givesExplanation; // of `gives`, when it is a character or phrase with one
};

QString wrongCodeText(const WrongCode& w);

} // namespace drills
