#pragma once
// The few things the logic asks of the desktop. The window implements them with a message box,
// the system beep and the desktop's open action; tests record them.

#include <QString>

namespace controls {

class Desktop {
public:
    virtual ~Desktop() = default;
    // A modal message box titled with the application title, no icon, one OK button; returns
    // when the learner has closed it.
    virtual void message(const QString& text) = 0;
    // The table engine's error, shown once for the event that met it.
    virtual void error(const QString& text) = 0;
    virtual void beep() = 0;
    // Opens a web or mail address with the desktop's open action; the result is ignored.
    virtual void openUrl(const QString& url) = 0;
};

} // namespace controls
