#include "fakes/FakeMultimedia.h"
#include "fare/FareFiles.h"
#include "sound/FakeSpeech.h"

#include "formats/Cp932.h"
#include "fare/BusOperation.h"
#include "sound/mdlM_Tape.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// Holds nothing, but lets a test act while a waited sound or the lamp test
// would hold the bus.
class WaitingSound : public FakeMultimedia
{
public:
    std::function<void()> duringSleep;

    void sleep(int milliseconds) override
    {
        FakeMultimedia::sleep(milliseconds);
        if (duringSleep) {
            duringSleep();
        }
    }
};

// The bus on fake sound, speech and time, with every change it tells kept
// together with what it said at that moment.
struct Bus
{
    struct Seen
    {
        BusOperation::Changes what;
        bool lampTest = false;
        QString held;
        int stop = 0;
        qsizetype soundCommands = 0;
    };

    QStringList log;
    WaitingSound sound;
    FakeSpeechService speech{log};
    FakeChimePlayer chimes{log};
    OptionInfo options;
    QDateTime clock{QDate(2026, 6, 12), QTime(7, 5, 9)};
    BusOperation bus{services()};
    QList<Seen> seen;

    explicit Bus(const QString &folder)
    {
        options.Folder.FareDataDir = folder;
        options.Folder.TapeDataDir = folder;
        bus.tape().InitSpeech();
        QObject::connect(&bus, &BusOperation::changed, [this](BusOperation::Changes what) {
            seen.append({what, bus.lampTest(), bus.heldReason(), bus.route().currentStop(), sound.commands.size()});
        });
    }

    BusOperation::Services services()
    {
        BusOperation::Services services;
        services.sound = &sound;
        services.speech = &speech;
        services.chimes = &chimes;
        services.options = [this] { return options; };
        services.clock = [this] { return clock; };
        return services;
    }

    // The changes other than the input held and released.
    QList<BusOperation::Changes> changes() const
    {
        QList<BusOperation::Changes> changes;
        for (const Seen &one : seen) {
            if (one.what != BusOperation::Change::Held) {
                changes << one.what;
            }
        }
        return changes;
    }

    QStringList played() const { return sound.commands.filter(QStringLiteral("play ")); }
};

using Change = BusOperation::Change;

qint32 fare(const StopView &view, int cell)
{
    return std::get<qint32>(view.cells.at(static_cast<size_t>(cell)));
}

} // namespace

// The running bus without windows: route setting with its lamp test, data
// steps with their sounds, announcements with their step flags, the
// late-night fare, clearing, and the refused command that changes nothing.
class tst_BusOperation : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Route 7: four stops whose column 150 chooses the stepping sound
        // 1, 2, none (4) and 3.
        std::vector<StopRecord> stops = FareFiles::stops(4);
        const std::array<qint16, 4> selectors = {1, 2, 4, 3};
        for (size_t n = 0; n < stops.size(); ++n) {
            stops[n].columns.back() = selectors.at(n);
        }
        QVERIFY(FareFiles::write(file("7.hy3"), *Hy3File::serialize(stops)));
        // Record 1 only speaks; records 2 and 3 step the fares too.
        QVERIFY(FareFiles::write(file("7tp.csv"), Cp932::encode(QStringLiteral("一,0,0\r\n二,1,2\r\n三,1,0\r\n"))));
        for (const char *name : {"set.wav", "one.wav", "two.wav", "three.wav", "always.wav", "flag2.wav"}) {
            QVERIFY(FareFiles::write(file(QString::fromLatin1(name)), QByteArray()));
        }
    }

    void routeSettingSoundsLightsTheLampsThenShowsTheStartStop()
    {
        Bus b(folder());
        b.options.Sound.SndRouteSet = file("set.wav");
        b.options.Seiriken.DateAtRouteSet = -1; // the ticket keeps the date of the route setting
        CommandResult duringLampTest;
        b.sound.duringSleep = [&b, &duringLampTest] { duringLampTest = b.bus.step(true); };

        QCOMPARE(b.bus.setRoute(QStringLiteral("007"), QStringLiteral("2")).outcome, CommandResult::Done);

        // The sound first, not waited for; then the lamp test's wait.
        const int play = b.sound.commands.indexOf(QRegularExpression("^play .*S1 from 0$"));
        QVERIFY2(play >= 0 && b.sound.commands.indexOf(QStringLiteral("sleep 3000")) > play,
                 qPrintable(b.sound.commands.join(" | ")));
        // The lamps light with the input held, and nothing runs inside.
        const auto lit = std::find_if(b.seen.cbegin(), b.seen.cend(), [](const Bus::Seen &s) { return s.lampTest; });
        QVERIFY(lit != b.seen.cend());
        QVERIFY(lit->what.testFlag(Change::LampTest));
        QCOMPARE(lit->held, QStringLiteral("ランプテスト中です"));
        QCOMPARE(duringLampTest.outcome, CommandResult::Unavailable);
        QCOMPARE(duringLampTest.reason, QStringLiteral("ランプテスト中です"));
        // Then, in one change, the route, the lamps out and the start stop.
        QCOMPARE(b.changes().last(), Change::Route | Change::Stop | Change::LampTest);
        QVERIFY(!b.seen.last().lampTest);
        QCOMPARE(b.bus.heldReason(), QString());

        QCOMPARE(b.bus.route().state().RouteText, QStringLiteral("007"));
        QCOMPARE(b.bus.route().currentStop(), 2);
        QCOMPARE(b.bus.tape().GetTapeCount(), 3);
        const StopView &board = b.bus.board();
        QCOMPARE(board.stopName, QStringLiteral("停留所2"));
        QVERIFY(std::holds_alternative<std::monostate>(board.cells.at(1))); // below the start section
        QCOMPARE(fare(board, 2), 202);
        QCOMPARE(board.ticket.dateText, QStringLiteral("06-12-2026"));
        QCOMPARE(board.ticket.timeText, QStringLiteral("07:05:09"));
    }

    void aRefusedRouteChangesNothing()
    {
        Bus b(folder());
        b.options.Sound.SndRouteSet = file("set.wav");
        QCOMPARE(b.bus.setRoute(QStringLiteral("7"), QString()).outcome, CommandResult::Done);
        QCOMPARE(b.bus.announce(true).outcome, CommandResult::Done);
        const RouteState route = b.bus.route().state();
        const StopView board = b.bus.board();
        b.seen.clear();
        b.sound.commands.clear();

        CommandResult result = b.bus.setRoute(QStringLiteral("999"), QString());
        QCOMPARE(result.outcome, CommandResult::Refused);
        QCOMPARE(result.reason, QStringLiteral("指定した系統のデータがありません..."));
        QCOMPARE(result.detail, QDir::toNativeSeparators(file("999.hy3")));
        result = b.bus.setRoute(QStringLiteral("7"), QStringLiteral("4")); // section 4 of four stops
        QCOMPARE(result.outcome, CommandResult::Refused);
        QVERIFY(result.reason.startsWith(QStringLiteral("指定した区間はデータの数よりも多いです...")));

        // The sound of each attempt, and nothing else: the route, the stop,
        // the board and the announcements are those of route 7.
        QCOMPARE(b.played().size(), 2);
        QVERIFY(!b.sound.commands.contains(QStringLiteral("sleep 3000")));
        QVERIFY(b.changes().isEmpty());
        QVERIFY(b.bus.route().state() == route);
        QVERIFY(b.bus.board() == board);
        QCOMPARE(b.bus.sectionText(), QString());
        QCOMPARE(b.bus.tape().GetTapeCount(), 3);
        QCOMPARE(b.bus.tape().GetTapePos(), 1);
        QCOMPARE(b.bus.tape().loadProblem(), QString());
        QVERIFY(b.bus.announcementsAvailable());
    }

    void dataStepsPlayTheirSoundBeforeTheStopShows()
    {
        Bus b(folder());
        b.options.Sound.StepSndByColumn = -1;
        b.options.Sound.StepSndColumn = 149; // column 150 chooses
        b.options.Sound.StepSnd1 = file("one.wav");
        b.options.Sound.StepSnd2 = file("two.wav");
        b.options.Sound.StepSnd3 = file("three.wav");
        b.options.Sound.StepSndSync = -1; // the fares change once the sound has ended
        QCOMPARE(b.bus.step(true).reason, QStringLiteral("系統が設定されていません"));
        b.bus.setRoute(QStringLiteral("7"), QString());
        b.seen.clear();
        b.sound.commands.clear();

        QCOMPARE(b.bus.step(false).outcome, CommandResult::Done); // at the first stop: nothing at all
        QVERIFY(b.sound.commands.isEmpty());
        QVERIFY(b.changes().isEmpty());

        b.bus.step(true); // stop 2 chooses sound 2, waited for, then the stop shows
        QCOMPARE(b.played().size(), 1);
        QVERIFY(b.played().first().endsWith(QStringLiteral(" wait")));
        QVERIFY(b.sound.commands.filter(QStringLiteral("open ")).first().contains(QStringLiteral("two.wav")));
        QCOMPARE(b.changes(), QList<BusOperation::Changes>{Change::Stop});
        const auto shown = std::find_if(b.seen.cbegin(), b.seen.cend(),
                                        [](const Bus::Seen &s) { return s.what.testFlag(Change::Stop); });
        QCOMPARE(shown->soundCommands, b.sound.commands.size());
        QCOMPARE(fare(b.bus.board(), 1), 201);

        // The late-night fare shows from the next stop on.
        b.seen.clear();
        b.bus.setLateNight(true);
        QCOMPARE(b.changes(), QList<BusOperation::Changes>{Change::LateNight});
        QCOMPARE(fare(b.bus.board(), 1), 201);
        b.sound.commands.clear();
        b.bus.step(true); // stop 3 holds 4: silent
        QVERIFY(b.played().isEmpty());
        QCOMPARE(fare(b.bus.board(), 1), 2 * 301);

        b.bus.step(true);
        b.sound.commands.clear();
        b.seen.clear();
        b.bus.step(true); // at the last stop: nothing at all
        QVERIFY(b.sound.commands.isEmpty());
        QVERIFY(b.changes().isEmpty());
        QCOMPARE(b.bus.route().currentStop(), 4);
    }

    void announcementsStepTheFaresWhereTheirFlagSays()
    {
        Bus b(folder());
        b.options.Sound.TapeSndAlways = -1;
        b.options.Sound.TapeSndFile = QStringLiteral("always.wav");
        b.options.Sound.TapeSnd2 = QStringLiteral("flag2.wav");
        b.options.Sound.TapeSndSync = -1;
        b.bus.setRoute(QStringLiteral("7"), QString());
        b.log.clear();

        b.bus.announce(true); // record 1 only speaks
        QCOMPARE(b.log, QStringList({"stop", "play always.wav S3 wait", "stop", "speak 一"}));
        QCOMPARE(b.bus.route().currentStop(), 1);
        b.bus.announce(true); // record 2 steps the fares
        b.bus.announce(true); // record 3 too
        QCOMPARE(b.bus.route().currentStop(), 3);
        b.bus.announce(true); // past the last: nothing spoken, yet record 3 steps again
        QCOMPARE(b.bus.tape().GetTapePos(), 3);
        QCOMPARE(b.bus.route().currentStop(), 4);
        b.log.clear();
        b.bus.announce(false); // record 2, back, with its flag's sound
        QCOMPARE(b.log, QStringList({"stop", "play flag2.wav S2 wait", "stop", "speak 二"}));
        QCOMPARE(b.bus.route().currentStop(), 3);

        QVERIFY(b.bus.speaking());
        b.seen.clear();
        QCOMPARE(b.bus.stopAnnouncement().outcome, CommandResult::Done);
        QVERIFY(!b.bus.speaking());
        QCOMPARE(b.changes(), QList<BusOperation::Changes>{Change::Announcement});

        // Without speech the keys are not available, and say why.
        b.speech.engineAvailable = false;
        b.bus.tape().InitSpeech();
        const CommandResult refused = b.bus.announce(true);
        QCOMPARE(refused.outcome, CommandResult::Unavailable);
        QCOMPARE(refused.reason, QStringLiteral("音声合成が使えません（音合使用不可）"));
        QCOMPARE(b.bus.route().currentStop(), 3);
    }

    void clearingTakesTheKeysAwayAndRestoringShowsTheStopAgain()
    {
        Bus b(folder());
        QCOMPARE(b.bus.setCleared(true).reason, QStringLiteral("系統が設定されていません"));
        b.bus.setRoute(QStringLiteral("7"), QString());
        b.bus.step(true);
        b.seen.clear();

        QCOMPARE(b.bus.setCleared(true).outcome, CommandResult::Done);
        QCOMPARE(b.changes(), QList<BusOperation::Changes>{Change::Cleared | Change::Announcement});
        QVERIFY(!b.bus.announcementsAvailable());
        for (const CommandResult &refused : {b.bus.step(true), b.bus.setLateNight(true), b.bus.announce(true),
                                             b.bus.setRoute(QStringLiteral("7"), QString())}) {
            QCOMPARE(refused.outcome, CommandResult::Unavailable);
            QCOMPARE(refused.reason, QStringLiteral("表示消去中です"));
        }
        QCOMPARE(b.bus.setBacklight(2).outcome, CommandResult::Done); // the backlight stays usable
        QCOMPARE(b.bus.backlight(), 2);
        QCOMPARE(b.bus.setBacklight(3).outcome, CommandResult::Refused);

        // The stop comes back as the options say now: the stop order in cell 1.
        b.options.Degit.InfoStopOn = 1;
        b.options.Degit.InfoStopCell = 0;
        b.seen.clear();
        QCOMPARE(b.bus.setCleared(false).outcome, CommandResult::Done);
        QCOMPARE(b.changes(), QList<BusOperation::Changes>{Change::Cleared | Change::Announcement | Change::Stop});
        QCOMPARE(fare(b.bus.board(), 1), 2);
        QVERIFY(b.bus.announcementsAvailable());
        QCOMPARE(b.bus.route().currentStop(), 2);
    }

    void theStopRequestLightsOnceAndGoesOutWhenTheBusStops()
    {
        Bus b(folder());
        QCOMPARE(b.bus.requestStop().reason, QStringLiteral("系統が設定されていません"));
        QVERIFY(!b.bus.stopRequested());
        b.bus.setRoute(QStringLiteral("7"), QString());
        b.log.clear();
        b.seen.clear();

        QCOMPARE(b.bus.requestStop().outcome, CommandResult::Done);
        QVERIFY(b.bus.stopRequested());
        QCOMPARE(b.log, QStringList({"play sound/stop-request.wav S4 wait", "stop", "speak 次、とまります。"}));
        QCOMPARE(b.changes(), QList<BusOperation::Changes>({Change::StopRequest, Change::Announcement}));
        QCOMPARE(b.seen.first().held, QStringLiteral("とまりますの案内中です")); // no key while the chime plays

        b.seen.clear();
        QCOMPARE(b.bus.requestStop().outcome, CommandResult::Done); // lit: nothing more
        QCOMPARE(b.log.size(), 3);
        QVERIFY(b.seen.isEmpty());

        b.bus.step(true);
        QVERIFY(!b.bus.stopRequested());
        QCOMPARE(b.changes(), QList<BusOperation::Changes>{Change::Stop | Change::StopRequest});
    }
};

QTEST_GUILESS_MAIN(tst_BusOperation)
#include "tst_BusOperation.moc"
