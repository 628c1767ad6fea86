// How long an asynchronous PlaySnd keeps the caller: it must return within
// 30 ms for WAV, MP3 and MIDI (median), the sound then playing on its own.

#include "MedianTarget.h"

#include "sound/GstCommandInterpreter.h"
#include "sound/mdlSndAPI.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <vector>

namespace {

constexpr double LimitMs = 30.0;
constexpr int Rounds = 25;

// Milliseconds of each asynchronous PlaySnd of `path`, alternating between
// two channels so that every round also closes a playing sound.
std::vector<double> timePlays(mdlSndAPI &sound, const QString &path)
{
    std::vector<double> times;
    QElapsedTimer clock;
    for (int round = 0; round < Rounds; ++round) {
        clock.start();
        sound.PlaySnd(path, round % 2 ? QStringLiteral("S1") : QStringLiteral("S2"), false);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString samples = QStringLiteral(TAVELO_SAMPLES_DIR "/sound/");
    GstCommandInterpreter multimedia;
    mdlSndAPI sound(multimedia, QStringLiteral("R57"));
    const char *const files[] = {"chime.wav", "route.mp3", "jingle.mid"};
    // The first play of each kind loads GStreamer's plugins: that is start-up,
    // not playing.
    for (const char *file : files) {
        sound.PlaySnd(samples + QLatin1String(file), QStringLiteral("S1"), true);
    }

    bool ok = true;
    for (const char *file : files) {
        const QByteArray what = "PlaySnd async " + QByteArray(file);
        ok = medianMeets(what.constData(), timePlays(sound, samples + QLatin1String(file)), LimitMs) && ok;
    }
    sound.CloseAllSnd();
    return ok ? 0 : 1;
}
