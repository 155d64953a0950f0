#pragma once
// The typing test's runs of this session, as the page shows them while no run is under way: a
// small chart of their speeds, a line that sums them up, and the list of all of them that either
// opens.

#include "typing.h"

#include <QAbstractButton>
#include <QFrame>

#include <vector>

class QLabel;
class QTreeWidget;

namespace app {

// Something on the page that opens the list: a click, or Space (Enter moves on, as everywhere in
// the window). The mouse leaves the focus where it was (in the typed line, where the next
// character starts a run); Tab reaches it.
class RunListOpener : public QAbstractButton {
public:
    explicit RunListOpener(QWidget* parent);

protected:
    // A dotted frame round the whole, while it has the keyboard's focus.
    void paintFocus(QPainter& p);
};

// The speeds of the session's runs, oldest at the left: a line through one dot a run, scaled to the
// fastest.
class RunChart : public RunListOpener {
public:
    explicit RunChart(QWidget* parent) : RunListOpener(parent) {}
    void setSpeeds(const std::vector<qint64>& speeds);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<qint64> m_speeds;
};

// The summary line: the newest runs in one line, cut short where it ends, in the blue of the
// page's other things to click.
class RunSummary : public RunListOpener {
public:
    explicit RunSummary(QWidget* parent) : RunListOpener(parent) {}

protected:
    void paintEvent(QPaintEvent*) override;
};

// The list itself: a small window over the page with a row a run (test, time, speed, accuracy,
// wrong characters), newest first, the chart of their speeds drawn larger, and a close button;
// Esc or a click outside closes it too, and the focus goes back where it was.
class RunList : public QFrame {
public:
    RunList();
    // Fills it with `runs` (newest first) of the tests named `testNames` (1-6), and shows it under
    // `opener`, inside the screen.
    void open(const std::vector<typing::TypingTest::Run>& runs, const QStringList& testNames, QWidget* opener);

private:
    QLabel* m_title;
    QTreeWidget* m_rows;
    RunChart* m_chart;
};

} // namespace app
