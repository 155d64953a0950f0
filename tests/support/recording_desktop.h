#pragma once
// A test double of the desktop: records what the logic asked of it, in order.

#include <desktop.h>

#include <QStringList>

class RecordingDesktop : public controls::Desktop {
public:
    void message(const QString& text) override { messages << text; }
    void error(const QString& text) override { errors << text; }
    void beep() override { ++beeps; }
    void openUrl(const QString& url) override { urls << url; }

    QStringList messages;
    QStringList errors;
    QStringList urls;
    int beeps = 0;
};
