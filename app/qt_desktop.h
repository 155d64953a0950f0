#pragma once
// The desktop as the program meets it: a message box, the beep, the open action.

#include "desktop.h"

#include <QProcessEnvironment>

class QWidget;

namespace app {

class QtDesktop : public controls::Desktop {
public:
    // Message boxes stand over `owner`; opened programs start in `launchedPrograms`.
    QtDesktop(QWidget* owner, QProcessEnvironment launchedPrograms)
        : m_owner(owner), m_launchedPrograms(std::move(launchedPrograms)) {}

    void message(const QString& text) override;
    void error(const QString& text) override;
    void beep() override;
    void openUrl(const QString& url) override;

private:
    QWidget* m_owner;
    QProcessEnvironment m_launchedPrograms;
};

} // namespace app
