#pragma once

#include <QtGlobal>

// The upward motion of a scrolling stop name, worked out from the time that
// has passed so that the speed does not depend on how often it is asked.
//
// Time is counted in passes of 0.5 ms (2000 a second, the rate the display
// was designed for); each pass lifts the strip by Speed / 200 pixels. The
// strip starts just below the frame and pauses there; once its bottom edge
// has risen a full frame height above the frame's top it starts again from
// below the frame, after another pause.
class ScrollMotion
{
public:
    static constexpr int PassesPerMs = 2;
    static constexpr double PixelsPerSpeedPerPass = 1.0 / 200;

    void start(qint64 nowMs, int frameHeight, int stripHeight, int startWaitMs);

    // Moves the strip to where it stands at `nowMs`. `speed` holds for the
    // whole stretch since the last call (0 stands still; a negative speed
    // sinks the strip, no lower than where it started); a restart within the
    // stretch pauses `startWaitMs`.
    void advanceTo(qint64 nowMs, int speed, int startWaitMs);

    // The strip's top edge relative to the frame's, in whole pixels.
    int stripTop() const { return m_top; }

    bool isPausing(qint64 nowMs) const { return nowMs * PassesPerMs < m_movingFrom; }
    // The first millisecond at which the strip moves again.
    qint64 pauseEndMs() const { return (m_movingFrom + PassesPerMs - 1) / PassesPerMs; }
    // True while the pause before the first move is running or has just
    // ended by `nowMs` without the strip having moved yet.
    bool startPauseEndsBy(qint64 nowMs) const { return m_inStartPause && !isPausing(nowMs); }

private:
    // Passes until the strip next restarts at `step` pixels a pass; 0 for never.
    qint64 passesToRestart(double step) const;
    void restart();
    void rise(double pixels);

    int m_frameHeight = 0;
    int m_stripHeight = 0;
    double m_position = 0;
    int m_top = 0;
    qint64 m_movingFrom = 0; // the pass from which the strip moves on
    bool m_inStartPause = false;
};
