#pragma once

#include "controls/ScrollClock.h"

#include <functional>

// The time of a recording, in milliseconds from its start. The recording
// moves it on as it paints and mixes, as fast as it can, never by the wall
// clock; the strip scrolls by it, so each frame shows what the time says.
class RecordingClock : public ScrollClock
{
public:
    qint64 nowMs() const override { return m_now; }
    // Sets the time; it never goes back.
    void setNow(qint64 ms);

    // A wait of the program's own (a sound played to its end, the lamp
    // test): the time goes on by `ms`, through the waiter when there is one
    // (the recording, which paints and mixes what lies between), otherwise
    // at once.
    void wait(qint64 ms);
    // `waiter` is handed the time to reach and sets it.
    void setWaiter(std::function<void(qint64 untilMs)> waiter) { m_waiter = std::move(waiter); }

private:
    qint64 m_now = 0;
    std::function<void(qint64)> m_waiter;
};
