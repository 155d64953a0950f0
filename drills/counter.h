#pragma once
// The counter boxes of the drills hold a batch or item number as text; their code boxes hold
// Wubi codes.

#include "controls.h"

#include <QString>

#include <functional>

namespace drills {

// Advancing a counter: the text read as a decimal number plus one, written back in its shortest
// plain decimal form ("099" -> "100"). Text that is not a number counts as 0.
QString nextNumber(const QString& counterText);

// Starts a counter box at `number`. A box that holds it already, left there by a batch that
// failed to load (`loaded` false), runs `load` again, since setting the same text changes nothing.
void restartCounter(controls::Edit& counter, const QString& number, bool loaded, const std::function<void()>& load);

// What a code box may hold: letters a to z, and A to Z as Caps Lock or Shift gives them (shown as
// typed, so the learner sees why no code matches), and nothing else (no blank, no line break, no
// Chinese text from an input method).
bool isCodeText(const QString& text);

} // namespace drills
