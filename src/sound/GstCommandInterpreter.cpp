#include "GstCommandInterpreter.h"

#include "CommandString.h"
#include "GstChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

const QStringList deviceTypes = {QStringLiteral("waveaudio"), QStringLiteral("mpegvideo"),
                                 QStringLiteral("sequencer")};

// Waiting in an event loop needs an application on this thread; a tool
// without one simply blocks.
bool canRunEventLoop()
{
    return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

GstCommandInterpreter::GstCommandInterpreter() = default;
GstCommandInterpreter::~GstCommandInterpreter() = default;

QString GstCommandInterpreter::key(const QString &alias)
{
    return alias.toLower();
}

GstChannel *GstCommandInterpreter::channel(const QString &alias) const
{
    const auto found = m_channels.find(key(alias));
    return found == m_channels.end() ? nullptr : found->second.get();
}

bool GstCommandInterpreter::isPlaying(const QString &alias) const
{
    const GstChannel *open = channel(alias);
    return open && open->isPlaying();
}

int GstCommandInterpreter::send(const QString &text)
{
    const std::optional<CommandString> command = CommandString::parse(text);
    if (!command) {
        return UnknownCommand;
    }
    if (command->verb == QLatin1String("open")) {
        return open(*command);
    }
    if (command->verb == QLatin1String("play")) {
        return play(*command);
    }
    if (command->verb == QLatin1String("stop")) {
        GstChannel *open = channel(command->device);
        if (!open) {
            return UnknownAlias;
        }
        open->stop();
        return 0;
    }
    if (command->verb == QLatin1String("close")) {
        return m_channels.erase(key(command->device)) == 1 ? 0 : UnknownAlias;
    }
    return UnknownCommand;
}

int GstCommandInterpreter::open(const CommandString &command)
{
    const QString alias = command.values.value(QStringLiteral("alias"));
    if (alias.isEmpty() || !deviceTypes.contains(command.values.value(QStringLiteral("type")).toLower())) {
        return UnknownCommand;
    }
    // One file per alias: a new one replaces the old.
    m_channels.erase(key(alias));
    auto opened = std::make_unique<GstChannel>(command.device);
    if (!opened->isOpen()) {
        return CannotOpen;
    }
    m_channels[key(alias)] = std::move(opened);
    return 0;
}

int GstCommandInterpreter::play(const CommandString &command)
{
    const QPointer<GstChannel> playing = channel(command.device);
    if (!playing) {
        return UnknownAlias;
    }
    const QString from = command.values.value(QStringLiteral("from"), QStringLiteral("0"));
    if (from != QLatin1String("0") || !playing->playFromStart()) {
        return CannotPlay;
    }
    if (!command.wait) {
        return 0;
    }
    if (!canRunEventLoop()) {
        return playing->waitForEnd() ? 0 : CannotPlay;
    }
    QEventLoop loop;
    QObject::connect(playing, &GstChannel::ended, &loop, &QEventLoop::quit);
    // Closing or replacing the channel meanwhile also ends the wait.
    QObject::connect(playing, &QObject::destroyed, &loop, &QEventLoop::quit);
    // A sound that stalls must not keep the operator's input for good.
    bool stalled = false;
    QElapsedTimer waited;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        const std::chrono::milliseconds sofar(waited.elapsed());
        if (playing && playing->hasStalled(sofar)) {
            stalled = playing->giveUp(sofar);
            loop.quit();
        }
    });
    if (playing->isPlaying()) {
        waited.start();
        watchdog.start(GstChannel::StallCheckInterval);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return stalled ? CannotPlay : 0;
}

void GstCommandInterpreter::sleep(int milliseconds)
{
    if (milliseconds <= 0) {
        return;
    }
    if (!canRunEventLoop()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
