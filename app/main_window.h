#pragma once
// The one window of the trainer: its pages (app/pages.h) over the picture-hint panel.

#include "binder.h"
#include "form.h"
#include "qt_desktop.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QTabWidget;

namespace app {

class TForm1 : public QWidget {
public:
    // `dataFolder` holds the lexicon tables. `desktop` receives messages, beeps and errors; by
    // default the real desktop, which starts the programs it opens in `launchedPrograms`.
    explicit TForm1(const QString& dataFolder, controls::Desktop* desktop = nullptr,
                    const QProcessEnvironment& launchedPrograms = QProcessEnvironment::systemEnvironment());
    ~TForm1() override;

    Form& form() { return *m_form; }
    Binder& binder() { return *m_binder; }

    // Runs one event's handlers and shows the result; how pages and tests act on the window.
    void runEvent(const std::function<void()>& handlers) { m_binder->event(handlers); }

    static constexpr int kClientWidth = 721;
    // Without the table-error line, which adds its height while it is shown.
    static constexpr int kClientHeight = 506;
    // The table-error line's margin, the picture-hint panel's; the line lies under that panel.
    static constexpr int kFootLineLeft = 9;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void buildPages();
    void buildTableErrorLine();
    void showPage(int index);
    void FormKeyPress(QKeyEvent* key);

    QtDesktop m_qtDesktop;
    std::unique_ptr<Form> m_form;
    Binder* m_binder = nullptr;
    QTabWidget* PageControl1 = nullptr;
    bool m_centred = false;
    std::vector<bool> m_built; // by page index: whether its widgets exist yet
};

} // namespace app
