#pragma once

#include "run/FixSource.h"
#include "run/MonotonicClock.h"

#include <QString>
#include <QTimer>

#include <memory>

class QSocketNotifier;

// Positions from gpsd, the daemon that reads a USB or serial receiver, over
// its socket through the client library. Connecting runs beside the event
// loop, since a name lookup or a far host can take seconds; reading follows
// the socket's readiness. When gpsd is not there, or goes away, the source
// says so and tries again, less and less often.
class GpsdFixSource : public FixSource
{
    Q_OBJECT

public:
    static constexpr int DefaultPort = 2947;
    static constexpr int FirstRetryMs = 1000;
    static constexpr int LongestRetryMs = 15000;

    // `host` empty: this computer. `clock` stamps the fixes.
    explicit GpsdFixSource(const MonotonicClock &clock, QString host = {}, int port = DefaultPort,
                           QObject *parent = nullptr);
    ~GpsdFixSource() override;

    // "HOST", "HOST:PORT", "[V6ADDRESS]:PORT" or ":PORT" as `host` and
    // `port`; false with the reason in `error` when it is none of them.
    static bool parseAddress(const QString &text, QString &host, int &port, QString &error);

    void start() override;
    State state() const override { return m_state; }
    qint64 nowMs() const override { return m_clock.nowMs(); }
    QString description() const override;

private:
    struct Connection;

    void connectToGpsd();
    void connectionAttempted();
    void readMessages();
    void connectionLost(const QString &why);
    void setState(State state);

    QString m_host;
    int m_port;
    const MonotonicClock &m_clock;
    State m_state = State::Starting;
    std::shared_ptr<Connection> m_connection;
    std::unique_ptr<QSocketNotifier> m_attemptNotifier;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    QTimer m_retry;
    int m_retryMs = FirstRetryMs;
};
