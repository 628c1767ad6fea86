#include "app/ProgramCommandLine.h"
#include "app/QtJapanese.h"
#include "display/DesktopPlatform.h"
#include "display/Form1.h"
#include "display/RenderCommand.h"
#include "display/JapaneseFonts.h"
#include "display/LiveRecorder.h"
#include "display/RecordingControls.h"
#include "display/SessionEndWatcher.h"
#include "display/SingleInstanceGuard.h"
#include "fare/frmCtl.h"
#include "remote/BusPanelControl.h"
#include "remote/RemoteAddress.h"
#include "remote/RemoteControl.h"
#include "remote/RouteEditorLink.h"
#include "settings/SettingsLocation.h"
#include "video/VideoEncoder.h"

#include <QApplication>
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
        const QString fullScreen = QStringLiteral("fullscreen");
        commandLine.acceptOptionalValueOption(
            fullScreen, QStringLiteral("N"),
            QStringLiteral("表示器をモニター N（1 から。省略時は前回のモニター）に全画面表示して起動する"));
        const QString remote = QStringLiteral("remote");
        commandLine.acceptOptionalValueOption(
            remote, QStringLiteral("HOST:PORT"),
            QStringLiteral("リモート操作（HTTP/WebSocket、r57ctl）を受け付ける。既定は 127.0.0.1:8157"));
        const QString record = QStringLiteral("record");
        commandLine.acceptOptionalValueOption(
            record, QStringLiteral("OUT"),
            QStringLiteral("表示器の画面と音を動画ファイル OUT（.mp4、.webm、.mkv）に録画する。終了で閉じる"));
        QTextStream out(stdout);
        QTextStream err(stderr);
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

    DesktopPlatform platform(&settings);

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
    const RemoteControl remote(display, settings.sidePath(), remoteAddress, out, err);
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
