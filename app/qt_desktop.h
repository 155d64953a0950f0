#pragma once
// The desktop as the program meets it: a message box, the beep, the open action.

#include "desktop.h"

class QWidget;

namespace app {

class QtDesktop : public controls::Desktop {
public:
    explicit QtDesktop(QWidget* owner = nullptr) : m_owner(owner) {}

    void message(const QString& text) override;
    void error(const QString& text) override;
    void beep() override;
    void openUrl(const QString& url) override;

private:
    QWidget* m_owner;
};

} // namespace app
