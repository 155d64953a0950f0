#pragma once
// Each page builds its widgets on its tab page and binds them to its state machine.

class QWidget;

namespace app {

class Binder;
class Form;

void buildCharacterDrillPage(QWidget* page, Form& form, Binder& binder);
void buildTypingTestPage(QWidget* page, Form& form, Binder& binder);

} // namespace app
