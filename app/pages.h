#pragma once
// The pages of the window, one row each: the page's object name, its tab caption, the function
// that builds its widgets on the tab page and binds them to its state machine (run the first time
// the page is shown), and the page's show handler (run every time it is shown, the first time too).

class QWidget;

namespace app {

class Binder;
class Form;
class PicturePanel;

struct Page {
    const char* name;
    const char* caption;
    void (*build)(QWidget* page, Form& form, Binder& binder);
    void (*show)(Form& form); // may be null
};

// In tab order.
extern const Page kPages[7];

void buildRootChartPage(QWidget* page, Form& form, Binder& binder);
void buildMnemonicDrillPage(QWidget* page, Form& form, Binder& binder);
void buildRootDrillPage(QWidget* page, Form& form, Binder& binder);
void buildCharacterDrillPage(QWidget* page, Form& form, Binder& binder);
void buildPhraseDrillPage(QWidget* page, Form& form, Binder& binder);
void buildTypingTestPage(QWidget* page, Form& form, Binder& binder);
void buildAboutPage(QWidget* page, Form& form, Binder& binder);
// Builds nothing: a page still to be written.
void buildEmptyPage(QWidget* page, Form& form, Binder& binder);

// The picture-hint panel under the pages.
void buildPicturePanel(QWidget* window, PicturePanel& panel, Binder& binder);

} // namespace app
