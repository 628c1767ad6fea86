#pragma once

#include <QByteArray>
#include <QHash>
#include <QLoggingCategory>
#include <QString>

#include <chrono>

// The remote interface's log: who was turned away and why, what was dropped.
Q_DECLARE_LOGGING_CATEGORY(lcRemote)

// Says the refusals of one client once a minute: a client refused again and
// again (a script with a wrong token, an attack) fills no log. Outside text
// in a line (a request's path) is escaped.
class RefusalLog
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds Quiet{60};

    // Logs `text` for a refusal of the client `peer` (an address, or the
    // group of addresses one client holds), unless one was logged for it in
    // the last minute: those are counted, and the count is told with the next
    // line. `notable`: someone was turned away (a token, an origin, a cap),
    // not a mistake of an honest client.
    void refused(const QByteArray &peer, const QString &text, bool notable, Clock::time_point now = Clock::now());

private:
    struct Said
    {
        Clock::time_point at;
        int since = 0;
    };
    QHash<QByteArray, Said> m_said;
};
