#include "GpsdFixSource.h"

#include "app/LogText.h"
#include "run/GpsLog.h"

#include <QPointer>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <gps.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <system_error>
#include <thread>
#include <unistd.h>

// One connection to gpsd: opened by a thread of its own, which then rings
// `doneFd`; from then on it belongs to the event loop's thread. Whichever
// lets go of it last closes it, so that a source destroyed while its thread
// still waits on a far host leaves nothing open behind.
struct GpsdFixSource::Connection
{
    QByteArray host;
    QByteArray port;
    gps_data_t data{};
    bool open = false;
    QString failure;
    int doneFd = -1;
    std::atomic<bool> done{false};

    ~Connection()
    {
        if (open)
            gps_close(&data);
        if (doneFd >= 0)
            ::close(doneFd);
    }

    // In the connecting thread.
    void openAndWatch()
    {
        if (gps_open(host.constData(), port.constData(), &data) != 0) {
            failure = QString::fromUtf8(gps_errstr(errno));
        } else {
            open = true;
            if (gps_stream(&data, WATCH_ENABLE | WATCH_JSON, nullptr) != 0) {
                failure = QStringLiteral("it did not take the request for reports");
                gps_close(&data);
                open = false;
            }
        }
        done.store(true, std::memory_order_release);
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(doneFd, &one, sizeof one);
    }
};

GpsdFixSource::GpsdFixSource(const MonotonicClock &clock, QString host, int port, QObject *parent)
    : FixSource(parent)
    , m_host(host.isEmpty() ? QStringLiteral("localhost") : std::move(host))
    , m_port(port)
    , m_clock(clock)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &GpsdFixSource::connectToGpsd);
}

GpsdFixSource::~GpsdFixSource()
{
    // The notifiers go before the descriptors they watch are closed.
    m_readNotifier.reset();
    m_attemptNotifier.reset();
}

bool GpsdFixSource::parseAddress(const QString &text, QString &host, int &port, QString &error)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(?:\[([0-9A-Fa-f:.]+)\]|([A-Za-z0-9._-]*))(?::([0-9]{1,5}))?$)"));
    const QRegularExpressionMatch match = form.match(text);
    const int number = match.hasMatch() && match.hasCaptured(3) ? match.captured(3).toInt() : DefaultPort;
    if (!match.hasMatch() || number < 1 || number > 65535) {
        error = QStringLiteral("gpsd のアドレスは HOST:PORT の形で書いてください: %1").arg(LogText::escaped(text));
        return false;
    }
    host = match.hasCaptured(1) ? match.captured(1) : match.captured(2);
    port = number;
    return true;
}

QString GpsdFixSource::description() const
{
    const QString host = m_host.contains(u':') ? u'[' + m_host + u']' : m_host;
    return QStringLiteral("gpsd %1:%2").arg(host).arg(m_port);
}

void GpsdFixSource::start()
{
    if (m_connection || m_retry.isActive() || m_state != State::Starting)
        return;
    connectToGpsd();
}

void GpsdFixSource::connectToGpsd()
{
    auto connection = std::make_shared<Connection>();
    connection->host = m_host.toUtf8();
    connection->port = QByteArray::number(m_port);
    connection->doneFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (connection->doneFd < 0) {
        connectionLost(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_attemptNotifier = std::make_unique<QSocketNotifier>(connection->doneFd, QSocketNotifier::Read);
    connect(m_attemptNotifier.get(), &QSocketNotifier::activated, this, &GpsdFixSource::connectionAttempted);
    m_connection = connection;
    try {
        std::thread([connection] { connection->openAndWatch(); }).detach();
    } catch (const std::system_error &e) {
        m_attemptNotifier.reset();
        m_connection.reset();
        connectionLost(QString::fromLocal8Bit(e.what()));
    }
}

void GpsdFixSource::connectionAttempted()
{
    if (!m_connection || !m_connection->done.load(std::memory_order_acquire))
        return;
    m_attemptNotifier.reset();
    if (!m_connection->open) {
        const QString why = m_connection->failure;
        m_connection.reset();
        connectionLost(why);
        return;
    }
    const int fd = int(m_connection->data.gps_fd);
    // Reads take what is there and never wait for more.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_readNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &GpsdFixSource::readMessages);
    m_retryMs = FirstRetryMs;
    qCInfo(lcGps).noquote() << "Connected to" << LogText::escaped(description());
    setState(State::Receiving);
}

void GpsdFixSource::readMessages()
{
    gps_data_t &data = m_connection->data;
    // gpsd writes a few reports a second; the bound only keeps a flood from
    // holding the event loop.
    for (int message = 0; message < 1000; ++message) {
        data.set = 0;
        errno = 0;
        const int got = gps_read(&data, nullptr, 0);
        if (got < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                return;
            connectionLost(QStringLiteral("the connection was closed"));
            return;
        }
        if (got == 0)
            return; // no whole report yet
        if (!(data.set & MODE_SET))
            continue; // not a position report
        PositionFix fix;
        fix.timeMs = m_clock.nowMs();
        fix.place = {data.fix.latitude, data.fix.longitude};
        fix.valid = data.fix.mode >= MODE_2D && (data.set & LATLON_SET) && fix.place.isValid();
        const QPointer<GpsdFixSource> alive(this);
        emit fixReceived(fix);
        if (!alive)
            return; // a receiver of the fix ended the source
    }
}

void GpsdFixSource::connectionLost(const QString &why)
{
    m_readNotifier.reset();
    m_connection.reset();
    if (m_state != State::Unavailable) {
        qCWarning(lcGps).noquote() << QStringLiteral("No %1 (%2); trying again")
                                          .arg(LogText::escaped(description()), LogText::escaped(why));
    }
    setState(State::Unavailable);
    m_retry.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, LongestRetryMs);
}

void GpsdFixSource::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}
