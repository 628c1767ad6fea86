#pragma once

#include "run/BusRun.h"
#include "run/DepartureSequence.h"
#include "run/FixSource.h"
#include "run/GpsStopTracker.h"

#include <QTimer>

#include <memory>

class BusOperation;

// A run by the bus's position (GPS運行): as the bus leaves a stop's circle
// it leaves the stop (DepartureSequence), as the operator would with 送り;
// a stop passed unseen is caught up as soon as the bus is at a later one.
// While the position is stale (no fix for StaleAfterMs, no gpsd) the bus
// stays where it is and the status says why. At the last stop what is left
// is said and the run ends; it ends too when a replayed track has ended.
// The operator's keys are taken as usual: the run goes on from the stop
// the bus is then at.
class GpsRun : public BusRun
{
    Q_OBJECT

public:
    // How often, in real time, the age of the fix is looked at between fixes.
    static constexpr int CheckMs = 500;
    // How soon a departure the bus could not take (input held) is tried again.
    static constexpr int RetryMs = 20;

    // `stops` are the route's, in the board's order (index 0: stop 1).
    GpsRun(BusOperation &bus, std::unique_ptr<FixSource> source, std::vector<GpsStopTracker::Stop> stops,
           double radiusMetres, QObject *parent = nullptr);
    ~GpsRun() override;

    // Says the opening words when the bus stands untouched at its first
    // stop, and starts taking positions.
    void start();

    QString mode() const override { return QStringLiteral("gps"); }
    QJsonObject state() const override;
    QString statusText() const override;
    void stop() override;

    const GpsStopTracker &tracker() const { return m_tracker; }
    FixSource &source() const { return *m_source; }
    bool stale() const;

    // Takes the operator's steps, makes the departures due, sees whether
    // the terminal is reached; the timers call it, and a test.
    void check();

private:
    void takeFix(const PositionFix &fix);
    void leaveStops();

    BusOperation &m_bus;
    std::unique_ptr<FixSource> m_source;
    GpsStopTracker m_tracker;
    DepartureSequence m_sequence;
    QTimer m_check;
    // Departures asked for that the bus has not taken yet (input held).
    int m_pending = 0;
    bool m_finishing = false;
    bool m_wasStale = true;
};
