// Load on the remote interface, on loopback only: four clients send 200
// requests a second together for ten seconds (state reads and data steps)
// while twenty board mirrors follow the events. Every request must be
// answered and the program's memory must stay flat. Exits 1 otherwise.

#include "remote/RemoteFixture.h"

#include <QApplication>
#include <QFile>
#include <QThread>
#include <QWebSocket>

#include <array>
#include <atomic>
#include <cstdio>

namespace {

constexpr int Clients = 4;
constexpr int RequestsPerSecond = 200;
constexpr int Seconds = 10;
constexpr int Mirrors = 20;

// Resident memory in KiB.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
        }
    }
    return -1;
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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    RemoteFixture fixture;
    RemoteFixture::Answer route = fixture.post("/api/route", {{"route", "12"}});
    if (route.status != 200) {
        std::printf("route setting failed: %d\n", route.status);
        return 1;
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
    QObject::connect(&sample, &QTimer::timeout, [&memory] { memory.push_back(residentKiB()); });
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
        return 1;
    }
    return 0;
}
