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
