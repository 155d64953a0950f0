#pragma once
// What each control is, in words, for screen readers and anything else that reads the window
// from outside, where the control's own text does not already say it (a code box, a picture, the
// hint panel).

class QWidget;

namespace app {

// Names the controls under `root` from the window's one table, by their object names. Run once a
// page's widgets exist.
void nameControls(QWidget* root);

} // namespace app
