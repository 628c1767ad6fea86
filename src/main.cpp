#include "app/ProgramCommandLine.h"
#include "app/QtJapanese.h"
#include "app/RouteArgument.h"
#include "windows/DesktopPlatform.h"
#include "windows/Form1.h"
#include "recording/RenderCommand.h"
#include "display/JapaneseFonts.h"
#include "recording/LiveRecorder.h"
#include "recording/RecordingControls.h"
#include "display/SessionEndWatcher.h"
#include "display/SingleInstanceGuard.h"
#include "windows/frmCtl.h"
#include "remote/BusPanelControl.h"
#include "remote/RemoteAddress.h"
#include "remote/RemoteControl.h"
#include "remote/RouteEditorLink.h"
#include "run/GpsdFixSource.h"
#include "run/RunClock.h"
#include "run/RunSlot.h"
#include "run/TrackFile.h"
#include "run/TrackReplaySource.h"
#include "settings/SettingsLocation.h"
#include "video/VideoEncoder.h"
#include "settings/SideSettingsStore.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // A video render is a program of its own: no window, no second start to forward.
    if (RenderCommand::requested(ProgramCommandLine::receivedArguments(argc, argv))) {
        return RenderCommand::main(argc, argv);
    }
    // --fullscreen[=N]: full screen from the start, on monitor N or the remembered one.
    int fullScreenMonitor = -1;
    // --remote[=HOST:PORT]: the remote interface, on its own or the given address.
    std::optional<QString> remoteAddress;
    // --record=OUT: records the display and its sound into OUT from the start.
    QString recordPath;
    // --route N[-SECTION]: the route set at start-up; --run=TRIP [--speed X]: a run by its timetable.
    QString startRoute;
    QString startSection;
    QString startTrip;
    int startSpeed = 1;
    // --gps[=HOST:PORT]: a run by gpsd's positions; --gps-replay=FILE: by a recorded track's.
    bool startGps = false;
    QString gpsHost;
    int gpsPort = GpsdFixSource::DefaultPort;
    QString gpsReplay;
    {
        ProgramCommandLine commandLine(QStringLiteral("R57"),
                                       QStringLiteral("使い方: R57 [オプション]\n"
                                                      "路線バスの運賃表示器を表示し、集中操作盤で操作します。\n"
                                                      "運賃データ（<系統>.hy3）、放送用データ（<系統>tp.csv）と音は\n"
                                                      "設定で指定したフォルダ（空なら作業フォルダ）から読みます。\n"
                                                      "Qt の標準オプション（-platform など）も使えます。\n"
                                                      "動画にするには R57 --render --help を見てください。\n\n"));
        commandLine.acceptToolkitOptions();
        commandLine.refuseArguments();
        // Takes one of the program's own options, which the help lists in the
        // order taken; a value that may be left out shows as --name[=VALUE].
        const auto option = [&commandLine](const char *name, const char *valueName, bool valueOptional,
                                           const char *description) {
            const QString optionName = QString::fromUtf8(name);
            const QString value = QString::fromUtf8(valueName);
            if (valueOptional) {
                commandLine.acceptOptionalValueOption(optionName, value, QString::fromUtf8(description));
            } else {
                commandLine.acceptDescribedValueOption(optionName, value, QString::fromUtf8(description));
            }
            return optionName;
        };
        const QString fullScreen = option("fullscreen", "N", true, "表示器をモニター N（1 から。省略時は前回のモニター）に全画面表示して起動する");
        const QString remote = option("remote", "HOST:PORT", true, "リモート操作（HTTP/WebSocket、r57ctl）を受け付ける。既定は 127.0.0.1:8157");
        const QString record = option("record", "OUT", false, "表示器の画面と音を動画ファイル OUT（.mp4、.webm、.mkv）に録画する。終了で閉じる");
        const QString route = option("route", "N[-SECTION]", false, "起動時に系統 N を区間 SECTION（既定 1）で設定する");
        const QString run = option("run", "TRIP_ID", false, "--route の系統の便 TRIP_ID を時刻表で運行する（<系統>.route.json の便）");
        const QString gps = option("gps", "HOST:PORT", true, "--route の系統を gpsd（既定 localhost:2947）の位置で運行する（GPS運行）");
        const QString gpsReplayOption = option("gps-replay", "FILE", false, "--route の系統を GPX の軌跡か NMEA の記録を再生した位置で運行する");
        const QString speed = option("speed", "X", false, "運行の速さ（--run と --gps-replay。実時間の X 倍、1〜600、既定 1）");
        QTextStream out(stdout);
        QTextStream err(stderr);
        const auto refuse = [&err](const QString &problem) {
            err << QStringLiteral("R57: ") << problem << "\n" << QStringLiteral("使い方は R57 --help で表示します。\n");
            return 2;
        };
        if (const std::optional<int> exitCode = commandLine.answer(ProgramCommandLine::receivedArguments(argc, argv), out, err)) {
            return *exitCode;
        }
        if (commandLine.isSet(fullScreen)) {
            const QString monitor = commandLine.value(fullScreen);
            bool number = true;
            // Without a number: the remembered monitor, 0.
            fullScreenMonitor = monitor.isEmpty() ? 0 : monitor.toInt(&number);
            if (!number || (!monitor.isEmpty() && fullScreenMonitor < 1)) {
                err << QStringLiteral("R57: --fullscreen の値はモニターの番号（1 から）です: %1\n").arg(monitor)
                    << QStringLiteral("使い方は R57 --help で表示します。\n");
                return 2;
            }
        }
        if (commandLine.isSet(record)) {
            recordPath = commandLine.value(record);
            QString why;
            if (recordPath.isEmpty() || VideoEncoder::containerFor(recordPath, &why).isEmpty()) {
                err << QStringLiteral("R57: ")
                    << (recordPath.isEmpty() ? QStringLiteral("--record には動画ファイルの名前が要ります（--record=OUT）") : why)
                    << "\n" << QStringLiteral("使い方は R57 --help で表示します。\n");
                return 2;
            }
        }
        if (commandLine.isSet(remote)) {
            remoteAddress = commandLine.value(remote);
            QString addressError;
            if (!remoteAddress->isEmpty() && !RemoteAddress::parse(*remoteAddress, &addressError)) {
                err << "R57: " << addressError << "\n";
                return 2;
            }
        }
        if (commandLine.isSet(route)) {
            QString routeError;
            const std::optional<RouteArgument> start = RouteArgument::parse(commandLine.value(route), routeError);
            if (!start) {
                return refuse(routeError);
            }
            startRoute = start->route;
            startSection = start->section;
        }
        if (commandLine.isSet(run)) {
            startTrip = commandLine.value(run);
            if (startRoute.isEmpty()) {
                return refuse(QStringLiteral("--run には系統の --route が要ります"));
            }
            if (startTrip.isEmpty()) {
                return refuse(QStringLiteral("--run の値は便の ID です"));
            }
        }
        if (commandLine.isSet(gps) || commandLine.isSet(gpsReplayOption)) {
            if (startRoute.isEmpty()) {
                return refuse(QStringLiteral("GPS運行には系統の --route が要ります"));
            }
            if (int(commandLine.isSet(gps)) + int(commandLine.isSet(gpsReplayOption)) + int(!startTrip.isEmpty()) > 1) {
                return refuse(QStringLiteral("--run、--gps、--gps-replay はどれか一つです（運行は一度に一つ）"));
            }
            startGps = true;
            QString addressError;
            if (commandLine.isSet(gps) && !commandLine.value(gps).isEmpty()
                && !GpsdFixSource::parseAddress(commandLine.value(gps), gpsHost, gpsPort, addressError)) {
                return refuse(addressError);
            }
            gpsReplay = commandLine.value(gpsReplayOption);
            if (commandLine.isSet(gpsReplayOption) && gpsReplay.isEmpty()) {
                return refuse(QStringLiteral("--gps-replay の値は軌跡のファイルです"));
            }
        }
        if (commandLine.isSet(speed)) {
            bool number = false;
            startSpeed = commandLine.value(speed).toInt(&number);
            if (startTrip.isEmpty() && gpsReplay.isEmpty()) {
                return refuse(QStringLiteral("--speed は --run か --gps-replay といっしょに使います"));
            }
            if (!number || startSpeed < RunClock::MinSpeed || startSpeed > RunClock::MaxSpeed) {
                return refuse(QStringLiteral("--speed の値は %1 から %2 までの整数です: %3")
                                  .arg(RunClock::MinSpeed)
                                  .arg(RunClock::MaxSpeed)
                                  .arg(commandLine.value(speed)));
            }
        }
    }
    if (!ProgramCommandLine::hasDisplay()) {
        std::fputs("Tavelo needs a display (no DISPLAY or WAYLAND_DISPLAY is set).\n"
                   "To try it without a desktop, run it under a virtual one:\n"
                   "  xvfb-run -a -s '-screen 0 1280x800x24' scripts/run\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavelo"));
    QApplication::setApplicationVersion(ProgramCommandLine::version());
    QtJapanese::install(app);
    // Watching from the start: a request to end that comes during start-up
    // is handled once the windows run.
    SessionEndWatcher sessionEnd;

    // One board per settings file: a second start brings the first to the front.
    const SettingsLocation settings = SettingsLocation::forRunningProgram();
    SingleInstanceGuard guard(settings.savePath());
    switch (guard.claim()) {
    case SingleInstanceGuard::Claim::First:
        break;
    case SingleInstanceGuard::Claim::Forwarded:
        return 0;
    case SingleInstanceGuard::Claim::NoAnswer:
        QTextStream(stderr) << QStringLiteral("R57: ") << guard.noAnswerText() << Qt::endl;
        return 1;
    }
    JapaneseFonts::installSubstitutions();

    // Read once here, and handed to every part that uses it.
    SideSettingsStore side(settings.sidePath());
    DesktopPlatform platform(&settings, &side);

    Form1 display(platform.services());
    if (!guard.listenProblem().isEmpty()) {
        display.controlPanel()->addStatusNotice(QStringLiteral("他の起動・路線エディタと連携できません: ")
                                                + guard.listenProblem());
    }
    if (fullScreenMonitor >= 0) {
        display.startFullScreen(fullScreenMonitor);
    }
    // exit(), not quit(): quit() would first close every window, and closing
    // a window asks the operator again. The end may come during start-up
    // (from inside a message box there), before the main loop runs.
    bool ended = false;
    QObject::connect(display.controlPanel(), &frmCtl::quitRequested, &app, [&ended] {
        ended = true;
        QCoreApplication::exit(0);
    });
    QObject::connect(&guard, &SingleInstanceGuard::activationRequested, &display, &Form1::bringToFront);
    // When the session ends there is nobody to answer the question: end as if
    // Yes, and let no message box wait for an answer.
    QObject::connect(&sessionEnd, &SessionEndWatcher::endRequested, display.controlPanel(), &frmCtl::endUnattended);
    // Made before the start-up, so that its menu items and mark are there
    // from the first; a recording still running when the program ends is
    // finished as the recorder goes, before the windows.
    LiveRecorder recorder(display, platform.soundTap());
    RecordingControls recordingControls(display, recorder);
    display.Form_Load();
    if (ended) {
        return 0;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!recordPath.isEmpty()) {
        if (QString problem; !recorder.start(recordPath, &problem)) {
            err << QStringLiteral("R57: 録画できません: ") << problem << Qt::endl;
            return 1;
        }
    }
    if (!startRoute.isEmpty()) {
        // As the keypad sets it; a route or a trip that cannot be run is
        // said and ends the program, since the one who started it asked
        // for nothing else.
        CommandResult result = display.operation().setRoute(startRoute, startSection);
        if (result.outcome == CommandResult::Done && !startTrip.isEmpty()) {
            result = display.runs().startTimetable(startTrip, startSpeed);
        }
        QString what = startTrip.isEmpty() ? QString() : QStringLiteral("便 %1 を運行できません: ").arg(startTrip);
        if (result.outcome == CommandResult::Done && startGps) {
            what = QStringLiteral("GPS運行を始められません: ");
            const RunSlot &runs = display.runs();
            std::unique_ptr<FixSource> source;
            if (gpsReplay.isEmpty()) {
                source = std::make_unique<GpsdFixSource>(runs.clock(), gpsHost, gpsPort);
            } else if (std::optional<TrackFile> track = TrackFile::readFile(gpsReplay, result.reason)) {
                source = std::make_unique<TrackReplaySource>(std::move(*track), QFileInfo(gpsReplay).fileName(),
                                                             startSpeed, runs.clock());
            } else {
                result.outcome = CommandResult::Refused;
            }
            if (source) {
                result = display.runs().startGps(std::move(source), side.settings().gpsRadius);
            }
        }
        if (result.outcome != CommandResult::Done) {
            err << QStringLiteral("R57: ") << (what.isEmpty() ? QStringLiteral("系統 %1 を設定できません: ").arg(startRoute) : what)
                << result.reason << (result.detail.isEmpty() ? QString() : QStringLiteral("（%1）").arg(result.detail))
                << Qt::endl;
            return 1;
        }
    }
    const RemoteControl remote(display, side, remoteAddress, out, err);
    remote.panel().setRecordingSwitch([&recorder, &recordingControls](bool on) -> CommandResult {
        if (on == recorder.isRecording()) {
            return {};
        }
        const QString problem = on ? recordingControls.startInVideos() : recorder.stop();
        return problem.isEmpty() ? CommandResult{} : CommandResult{CommandResult::Refused, problem};
    });
    // The route editor's "表示器で試す" comes over the guard's socket.
    RouteEditorLink editorLink(display, remote.panel());
    guard.setRequestHandler([&editorLink](const QJsonObject &request) { return editorLink.answer(request); });
    return app.exec();
}
