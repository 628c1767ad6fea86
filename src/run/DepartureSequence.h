#pragma once

#include "fare/CommandResult.h"

#include <QObject>
#include <QTimer>

class BusOperation;

// What the bus does as it leaves a stop, whoever decides when it leaves (a
// timetable, a position): what the operator would do with 送り. It says
// the announcements that follow, one after the other as each ends, up to
// and including the next line whose step flag is set, which steps the
// fares as it plays; a route without announcements gets a data step. The
// bus leaving again before all was said cuts what was playing short: the
// lines not yet said are passed over, the fares still stepping where they
// say, so the board keeps up with the bus.
class DepartureSequence : public QObject
{
    Q_OBJECT

public:
    // How often it looks whether the line playing has ended.
    static constexpr int PollMs = 50;

    explicit DepartureSequence(BusOperation &bus, QObject *parent = nullptr);

    // The opening words: the lines before the first stepping line.
    void open();
    // Leaves the stop the bus stands at. Unavailable, with nothing done,
    // while the bus takes no command (a lamp test, a waited sound, a
    // cleared display): try again.
    CommandResult leave();
    // At the terminal: what is left of the announcements.
    void finish();
    // Lines are still to be said.
    bool busy() const;
    // Says the next line once the one playing has ended. The poll timer
    // does this while busy; a caller ticking on its own time may too.
    void advance();
    // Stops the words playing and passes over the lines not yet said.
    void cutShort();
    // Says nothing more (the run ended); what plays goes on to its end.
    void abandon();

private:
    // The first stepping line after the announcement last said; 0: none.
    int nextSteppingLine() const;
    void playUpTo(int line);

    BusOperation &m_bus;
    // The last line to say; 0 when there is none.
    int m_target = 0;
    QTimer m_poll;
};
