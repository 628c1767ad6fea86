// Load on the remote interface, on loopback only. First a steady load: four
// clients send 200 requests a second together for ten seconds (state reads
// and data steps) while twenty board mirrors follow the events; every request
// must be answered and the memory must stay flat. Then hostile loads on the
// real program, started with the usual limit of 1,024 file handles: a 1 GB
// body, 1,000 half-open connections, 64 WebSocket clients that never read;
// under each the display must still set a route and answer, within bounded
// memory. Exits 1 when a target is missed.

#include "MedianTarget.h"
#include "display/SingleInstanceGuard.h"
#include "remote/RemoteFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>
#include <QWebSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>

namespace {

constexpr int Clients = 4;
constexpr int RequestsPerSecond = 200;
constexpr int Seconds = 10;
constexpr int Mirrors = 20;

// A process's resident memory and its peak, in KiB.
struct Memory
{
    long rss = -1;
    long peak = -1;
};

Memory memoryOf(qint64 pid)
{
    Memory memory;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return memory;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        const long kib = line.mid(6).trimmed().split(' ').constFirst().toLong();
        if (line.startsWith("VmRSS:")) {
            memory.rss = kib;
        } else if (line.startsWith("VmHWM:")) {
            memory.peak = kib;
        }
    }
    return memory;
}

// The clients, on a thread of their own so that they do not share the
// window thread with the server they measure.
class Load : public QObject
{
public:
    Load(quint16 port)
        : m_port(port)
    {
    }

    void run()
    {
        for (auto &network : m_networks) {
            network = new QNetworkAccessManager(this);
        }
        auto *tick = new QTimer(this);
        tick->setTimerType(Qt::PreciseTimer);
        tick->setInterval(1000 * Clients / RequestsPerSecond);
        connect(tick, &QTimer::timeout, this, [this, tick] {
            if (sent >= RequestsPerSecond * Seconds) {
                tick->stop();
                return;
            }
            for (int client = 0; client < Clients; ++client) {
                send(client);
            }
        });
        tick->start();
    }

    std::atomic<int> sent = 0;
    std::atomic<int> answered = 0;
    std::atomic<int> failed = 0;

private:
    void send(int client)
    {
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/api/%2")
                                         .arg(m_port)
                                         .arg(client == 0 ? QStringLiteral("step") : QStringLiteral("state"))));
        QNetworkReply *reply;
        if (client == 0) {
            // One client drives the board back and forth; the others read.
            request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
            reply = m_networks[client]->post(request, (sent / Clients) % 2 ? R"({"direction":"back"})"
                                                                             : R"({"direction":"forward"})");
        } else {
            reply = m_networks[client]->get(request);
        }
        ++sent;
        connect(reply, &QNetworkReply::finished, this, [this, reply] {
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            // 409: a step that found the panel still busy with the one before is an answer too.
            (status == 200 || status == 409 ? answered : failed)++;
            reply->deleteLater();
        });
    }

    quint16 m_port;
    std::array<QNetworkAccessManager *, Clients> m_networks{};
};

} // namespace

bool steadyLoad()
{
    RemoteFixture fixture;
    RemoteFixture::Answer route = fixture.post("/api/route", {{"route", "12"}});
    if (route.status != 200) {
        std::printf("route setting failed: %d\n", route.status);
        return false;
    }

    std::vector<std::unique_ptr<QWebSocket>> mirrors;
    int events = 0;
    QUrl url = fixture.url("/api/events");
    url.setScheme(QStringLiteral("ws"));
    for (int i = 0; i < Mirrors; ++i) {
        mirrors.push_back(std::make_unique<QWebSocket>());
        QObject::connect(mirrors.back().get(), &QWebSocket::textMessageReceived, [&events] { ++events; });
        mirrors.back()->open(url);
    }

    QThread thread;
    Load load(fixture.server.boundAddress().port);
    load.moveToThread(&thread);
    QObject::connect(&thread, &QThread::started, &load, &Load::run);
    thread.start();

    std::vector<long> memory;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout,
                     [&memory] { memory.push_back(memoryOf(QCoreApplication::applicationPid()).rss); });
    sample.start(1000);

    QElapsedTimer clock;
    clock.start();
    const int total = RequestsPerSecond * Seconds;
    while ((load.answered + load.failed < total) && clock.elapsed() < (Seconds + 20) * 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const double elapsed = clock.elapsed() / 1000.0;
    thread.quit();
    thread.wait();

    // Memory after the first second (connections and caches warmed up) against the last.
    const long first = memory.size() > 1 ? memory[1] : -1;
    const long last = memory.empty() ? -1 : memory.back();
    std::printf("remote load: %d of %d requests answered (%d failed) in %.1f s from %d clients; "
                "%d events to %d mirrors; resident memory %ld KiB after 1 s, %ld KiB at the end\n",
                load.answered.load(), total, load.failed.load(), elapsed, Clients, events, Mirrors, first, last);
    const bool flat = first > 0 && last - first < 8 * 1024;
    if (load.answered != total || !flat) {
        std::printf("FAILED: %s\n", load.answered != total ? "requests went unanswered" : "memory grew");
        return false;
    }
    return true;
}

// ---- Hostile loads on the real program ----

namespace {

constexpr int ProgramFileLimit = 1024;
constexpr qint64 HugeBody = 1'000'000'000;
constexpr int HalfOpen = 1000;
constexpr int SilentClients = 64;
constexpr int Changes = 6000;

int openFilesOf(qint64 pid)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    return static_cast<int>(fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

// A TCP connection to the program from `from` (a loopback address), or -1.
// Without `wait` it is only begun: the system goes on with it.
int connectFrom(const char *from, quint16 port, int receiveBuffer = 0, bool wait = true)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (wait ? 0 : SOCK_NONBLOCK), 0);
    if (fd < 0) {
        return -1;
    }
    if (receiveBuffer > 0) {
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &local.sin_addr);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(port);
    ::inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0
        || (::connect(fd, reinterpret_cast<sockaddr *>(&server), sizeof server) != 0
            && (wait || errno != EINPROGRESS))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes = bytes.sliced(sent);
    }
    return true;
}

// What has come on `fd` so far, without waiting; `closed` tells whether the
// other end has closed it.
QByteArray receiveWaiting(int fd, bool *closed)
{
    QByteArray received;
    char buffer[16384];
    *closed = false;
    for (;;) {
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (count > 0) {
            received.append(buffer, count);
            continue;
        }
        *closed = count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        return received;
    }
}

void closeAll(std::vector<int> &fds)
{
    for (int fd : fds) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    fds.clear();
}

// R57 --remote on a free loopback port, in a folder of its own with route 12,
// under the usual limit of 1,024 file handles.
class Program
{
public:
    bool start()
    {
        const QString folder = m_dir.path();
        if (!QFile::copy(QStringLiteral(R57_PATH), folder + "/R57")) {
            return false;
        }
        for (const char *name : {"12.hy3", "12tp.csv"}) {
            QFile::copy(QStringLiteral(SAMPLES "/") + name, folder + '/' + name);
        }
        m_settings = folder + "/R57.in4";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TAVELO_AUDIO_SINK", "fake");
        env.insert("HOME", folder);
        env.insert("XDG_CONFIG_HOME", folder + "/config");
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(folder);
        m_process.setStandardOutputFile(folder + "/out.log");
        m_process.setStandardErrorFile(folder + "/err.log");
        m_process.setChildProcessModifier([] {
            rlimit files{};
            ::getrlimit(RLIMIT_NOFILE, &files);
            files.rlim_cur = ProgramFileLimit;
            ::setrlimit(RLIMIT_NOFILE, &files);
        });
        m_process.start(folder + "/R57", {QStringLiteral("--remote=127.0.0.1:0")});
        if (!m_process.waitForStarted()) {
            return false;
        }
        static const QRegularExpression announced(QStringLiteral("http://127\\.0\\.0\\.1:(\\d+)/"));
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            QFile out(folder + "/out.log");
            if (out.open(QIODevice::ReadOnly)) {
                const auto match = announced.match(QString::fromUtf8(out.readAll()));
                if (match.hasMatch()) {
                    port = static_cast<quint16>(match.captured(1).toUInt());
                    return true;
                }
            }
            QThread::msleep(100);
        }
        return false;
    }

    ~Program()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    qint64 pid() const { return m_process.processId(); }
    // The lines the program wrote to its log.
    int logLines() const
    {
        QFile err(m_dir.filePath("err.log"));
        return err.open(QIODevice::ReadOnly) ? static_cast<int>(err.readAll().count('\n')) : -1;
    }

    // The display sets route 12, as the route editor asks it to (through the
    // program's local socket, beside the network): the milliseconds it took,
    // or -1 when it failed.
    double setRoute() const
    {
        QElapsedTimer clock;
        clock.start();
        const auto reply = SingleInstanceGuard::ask(m_settings, {{"request", "setRoute"}, {"route", "12"}}, 30000);
        if (reply.status != SingleInstanceGuard::Reply::Answered || !reply.answer.value("ok").toBool()) {
            std::printf("  route setting failed: %s\n", qPrintable(reply.answer.value("error").toString()));
            return -1;
        }
        return clock.nsecsElapsed() / 1e6;
    }

    // GET /api/state on a connection of its own: the milliseconds it took,
    // or -1 when it was not answered 200.
    double state() const
    {
        QElapsedTimer clock;
        clock.start();
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(3000)) {
            return -1;
        }
        socket.write("GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        QByteArray answer;
        while (socket.waitForReadyRead(3000)) {
            answer += socket.readAll();
        }
        answer += socket.readAll();
        return answer.startsWith("HTTP/1.1 200") ? clock.nsecsElapsed() / 1e6 : -1;
    }

    quint16 port = 0;

private:
    QTemporaryDir m_dir;
    QString m_settings;
    mutable QProcess m_process;
};

// One line for a load: the display's answers under it and the program's memory and files.
struct Under
{
    double routeMs = -1;
    std::vector<double> stateMs;
    Memory memory;
    int files = 0;
};

Under measure(const Program &program, int stateSamples = 5)
{
    Under under;
    under.routeMs = program.setRoute();
    for (int i = 0; i < stateSamples; ++i) {
        under.stateMs.push_back(program.state());
    }
    under.memory = memoryOf(program.pid());
    under.files = openFilesOf(program.pid());
    return under;
}

bool report(const char *load, const Under &under, bool stateExpected = true)
{
    std::vector<double> answered;
    std::copy_if(under.stateMs.begin(), under.stateMs.end(), std::back_inserter(answered),
                 [](double ms) { return ms >= 0; });
    std::sort(answered.begin(), answered.end());
    const double median = answered.empty() ? -1 : answered[answered.size() / 2];
    std::printf("%s: route set in %.0f ms; /api/state answered %zu of %zu%s; "
                "memory %ld KiB (peak %ld KiB); %d open files of %d\n",
                load, under.routeMs, answered.size(), under.stateMs.size(),
                answered.empty() ? " (every place taken)"
                                 : qPrintable(QStringLiteral(" (median %1 ms)").arg(median, 0, 'f', 1)),
                under.memory.rss, under.memory.peak, under.files, ProgramFileLimit);
    bool met = under.routeMs >= 0 && under.files < ProgramFileLimit - 64;
    if (stateExpected) {
        met = met && answered.size() == under.stateMs.size();
    }
    if (!met) {
        std::printf("  MISSED: %s\n", under.routeMs < 0 ? "the display could not set a route"
                                      : under.files >= ProgramFileLimit - 64 ? "the listener took the file handles"
                                                                             : "the interface did not answer");
    }
    return met;
}

bool hugeBody(const Program &program)
{
    const int fd = connectFrom("127.0.0.2", program.port);
    if (fd < 0) {
        std::printf("1 GB body: cannot connect\n");
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    sendAll(fd, "POST /api/step HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                "Content-Length: " + QByteArray::number(HugeBody) + "\r\n\r\n");
    const QByteArray zeros(64 * 1024, '\0');
    qint64 sent = 0;
    QByteArray answer;
    bool closed = false;
    while (sent < HugeBody && !closed && !answer.contains("\r\n\r\n") && clock.elapsed() < 60000) {
        if (!sendAll(fd, zeros)) {
            break;
        }
        sent += zeros.size();
        answer += receiveWaiting(fd, &closed);
    }
    QDeadlineTimer deadline(5000);
    while (!answer.contains("\r\n\r\n") && !closed && !deadline.hasExpired()) {
        QThread::msleep(10);
        answer += receiveWaiting(fd, &closed);
    }
    ::close(fd);
    const int status = answer.startsWith("HTTP/1.1 ") ? answer.mid(9, 3).toInt() : 0;
    std::printf("1 GB body: answered %d %lld ms after the headers (%.1f MiB of the body had gone to the system's "
                "buffers on either side)\n",
                status, static_cast<long long>(clock.elapsed()), sent / 1048576.0);
    // What was sent includes what the system's buffers took on either side.
    const bool met = status == 413 && clock.elapsed() < 5000;
    if (!met) {
        std::printf("  MISSED: the body was not refused after the headers\n");
    }
    return report("  after it", measure(program)) && met;
}

// `clients` loopback addresses each open their share of the half-open
// connections, all at once: each sends the start of a request and no more.
bool halfOpen(const Program &program, int clients)
{
    std::vector<pollfd> connecting;
    for (int i = 0; i < HalfOpen; ++i) {
        const QByteArray from = clients == 1 ? QByteArray("127.0.0.2")
                                             : "127.0.1." + QByteArray::number(1 + i % clients);
        connecting.push_back({connectFrom(from.constData(), program.port, 0, false), POLLOUT, 0});
    }
    // Connections the program's queue could not take at once are tried again
    // by the system a second or three later.
    QDeadlineTimer deadline(8000);
    std::vector<bool> started(connecting.size(), false);
    for (size_t pending = connecting.size(); pending > 0 && !deadline.hasExpired();) {
        ::poll(connecting.data(), connecting.size(), 100);
        for (size_t i = 0; i < connecting.size(); ++i) {
            if (!started[i] && (connecting[i].fd < 0 || connecting[i].revents != 0)) {
                started[i] = true;
                --pending;
                if (connecting[i].fd >= 0) {
                    sendAll(connecting[i].fd, "GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\n");
                }
            }
        }
    }
    QThread::msleep(1000);
    std::vector<int> fds;
    int held = 0;
    for (const pollfd &connection : connecting) {
        bool closed = true;
        if (connection.fd >= 0) {
            receiveWaiting(connection.fd, &closed);
        }
        held += closed ? 0 : 1;
        fds.push_back(connection.fd);
    }
    std::printf("%d half-open connections from %d address%s: %d held by the program, %d closed at once\n",
                HalfOpen, clients, clients == 1 ? "" : "es", held, HalfOpen - held);
    // From one address the interface still serves everyone else; from many,
    // every place may be taken until their requests time out.
    const bool met = report("  under them", measure(program), clients == 1);
    closeAll(fds);
    return met;
}

bool silentWebSockets(const Program &program, int quietFiles)
{
    std::vector<int> fds;
    for (int i = 0; i < SilentClients; ++i) {
        const int fd = connectFrom("127.0.0.1", program.port, 4096);
        if (fd < 0 || !sendAll(fd, "GET /api/events HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                                   "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                                   "Sec-WebSocket-Version: 13\r\n\r\n")) {
            std::printf("silent WebSockets: cannot connect\n");
            closeAll(fds);
            return false;
        }
        // It waits for its upgrade, then never reads again.
        pollfd waiting{fd, POLLIN, 0};
        ::poll(&waiting, 1, 3000);
        fds.push_back(fd);
    }
    QTcpSocket driver;
    driver.connectToHost(QHostAddress::LocalHost, program.port);
    driver.waitForConnected(3000);
    std::vector<double> changeMs;
    Under under;
    for (int change = 0; change < Changes; ++change) {
        // While they are all still connected.
        if (change == 50) {
            under = measure(program);
        }
        QElapsedTimer clock;
        clock.start();
        const QByteArray body = change % 2 ? "{\"on\":false}" : "{\"on\":true}";
        driver.write("POST /api/late-night HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                     "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        QByteArray answer;
        while (driver.waitForReadyRead(5000)) {
            answer += driver.readAll();
            const qsizetype end = answer.indexOf("\r\n\r\n");
            if (end >= 0) {
                const auto length = QRegularExpression(QStringLiteral("Content-Length: (\\d+)"))
                                        .match(QString::fromLatin1(answer.first(end)));
                if (answer.size() >= end + 4 + length.captured(1).toLongLong()) {
                    break;
                }
            }
        }
        // 409: a change that found the panel busy setting the route.
        if (answer.startsWith("HTTP/1.1 200") || answer.startsWith("HTTP/1.1 409")) {
            changeMs.push_back(clock.nsecsElapsed() / 1e6);
        }
    }
    // The clients still hold their ends (where the system keeps what they
    // never read): the program's own files tell whether it let them go.
    const int filesAfter = openFilesOf(program.pid());
    const int kept = std::max(0, filesAfter - quietFiles - 1);
    std::printf("%d silent WebSocket clients over %d changes: %zu changes answered; the program kept %d of them "
                "(open files: %d without them, %d with them, %d after the changes)\n",
                SilentClients, Changes, changeMs.size(), kept, quietFiles, under.files, filesAfter);
    closeAll(fds);
    bool met = report("  under them", under);
    met = medianMeets("  a change asked over HTTP meanwhile", changeMs, 50) && met;
    if (changeMs.size() != static_cast<size_t>(Changes) || kept > 0) {
        std::printf("  MISSED: %s\n", kept > 0 ? "clients that never read were kept" : "changes went unanswered");
        met = false;
    }
    return met;
}

} // namespace

bool hostileLoads()
{
    // The attacking side holds a thousand sockets of its own.
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, 4096);
    ::setrlimit(RLIMIT_NOFILE, &files);

    Program program;
    if (!program.start()) {
        std::printf("FAILED: R57 --remote did not start\n");
        return false;
    }
    const Under quiet = measure(program);
    bool met = report("hostile loads on R57 (file limit 1,024); before them", quiet);
    met = hugeBody(program) && met;
    met = halfOpen(program, 1) && met;
    met = halfOpen(program, 40) && met;
    met = silentWebSockets(program, quiet.files) && met;
    const Memory end = memoryOf(program.pid());
    std::printf("after every load: memory %ld KiB (peak %ld KiB, %+ld KiB over the start); "
                "%d lines in the program's log\n",
                end.rss, end.peak, end.peak - quiet.memory.peak, program.logLines());
    if (end.peak - quiet.memory.peak > 64 * 1024) {
        std::printf("  MISSED: hostile clients grew the program's memory\n");
        met = false;
    }
    return met;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool steady = steadyLoad();
    const bool hostile = hostileLoads();
    return steady && hostile ? 0 : 1;
}
