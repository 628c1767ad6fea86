#pragma once

#include "fakes/FakeMultimedia.h"
#include "fare/FareFiles.h"
#include "sound/FakeSpeech.h"

#include "formats/Cp932.h"
#include "fare/BusOperation.h"
#include "FakeClock.h"
#include "run/RunSlot.h"
#include "sound/mdlM_Tape.h"

#include <QRegularExpression>
#include <QTemporaryDir>

// The bus on fake sound and speech, its runs on a clock moved by hand.
struct RunBus
{
    QStringList log;
    FakeMultimedia sound;
    FakeSpeechService speech{log};
    FakeChimePlayer chimes{log};
    OptionInfo options;
    BusOperation bus{services()};
    FakeClock clock;
    RunSlot runs{bus, clock};

    explicit RunBus(const QString &folder)
    {
        options.Folder.FareDataDir = folder;
        options.Folder.TapeDataDir = folder;
        bus.tape().InitSpeech();
    }

    BusOperation::Services services()
    {
        BusOperation::Services services;
        services.sound = &sound;
        services.speech = &speech;
        services.chimes = &chimes;
        services.options = [this] { return options; };
        return services;
    }

    int stop() const { return bus.route().currentStop(); }
    QStringList spoken() const { return log.filter(QRegularExpression("^speak ")); }
};

// A folder of five-stop routes for the runs to drive.
class RouteFolder
{
public:
    // The folder, as the options name it.
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Route `route`: its five stops, its route file and, when given, its
    // tape's lines (CR LF ended, as the tape files are).
    bool add(const QString &route, const QByteArray &source, const QString &tape = {}) const
    {
        return m_dir.isValid() && FareFiles::writeStops(filePath(route + ".hy3"), 5)
            && FareFiles::write(filePath(route + ".route.json"), source)
            && (tape.isEmpty() || FareFiles::write(filePath(route + "tp.csv"), Cp932::encode(tape)));
    }

private:
    QTemporaryDir m_dir;
};
