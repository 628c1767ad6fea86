#include "RenderCommand.h"

#include "recording/BoardFramePainter.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "video/RecordingPlatform.h"
#include "display/SessionEndWatcher.h"
#include "app/ProgramCommandLine.h"
#include "app/QtJapanese.h"
#include "app/RouteArgument.h"
#include "windows/frmCtl.h"
#include "settings/SettingsLocation.h"
#include "route/ServiceTime.h"
#include "video/AnnouncementScript.h"
#include "video/TimetableScript.h"
#include "video/OfflineRender.h"
#include "video/RecordingTimeline.h"
#include "video/VideoEncoder.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTextStream>

#include <csignal>

namespace {

struct RenderRequest
{
    QString out;
    QString route;
    QString section = QStringLiteral("1");
    VideoFormat format;
    int speed = 1;
    QString trip;
    std::optional<qint64> fromMs;
    std::optional<qint64> toMs;
};

constexpr int MaxSpeed = 600;

// The request from the command line; the exit code when there is none.
std::variant<RenderRequest, int> readCommandLine(int argc, char *argv[], QTextStream &out, QTextStream &err)
{
    ProgramCommandLine commandLine(
        QStringLiteral("R57"),
        QStringLiteral("使い方: R57 --render=OUT --route N[-SECTION] [--run=TRIP_ID] [--speed X] [--size WxH] [--fps F]\n"
                       "              [--from HH:MM:SS] [--to HH:MM:SS]\n"
                       "系統の運行を、表示器の画面と音のまま動画ファイル OUT にします（画面は開きません）。\n"
                       "形式は拡張子で決まります: .mp4（H.264 + AAC）、.webm（VP9 + Opus）、.mkv（H.264 + Opus）。\n"
                       "--run があれば便 TRIP_ID を時刻表で運行し（--from から --to まで、運行の時刻）、\n"
                       "なければ系統を設定して放送を最後まで順に流します（放送のない系統はデータ送り）。\n"
                       "設定・見た目・読み方は普段の起動と同じものを使います。\n\n"
                       "  --render=OUT          作る動画ファイル\n"
                       "  --route N[-SECTION]   系統 N を区間 SECTION（既定 1）で設定する\n"
                       "  --run=TRIP_ID         その系統の便を時刻表で運行する（<系統>.route.json の便）\n"
                       "  --speed X             運行を X 倍の速さにする（1〜600、既定 1）。停留所の間は縮め、音は縮めない\n"
                       "  --from HH:MM:SS       運行の時刻でこの時から録る（--run のとき）\n"
                       "  --to HH:MM:SS         運行の時刻でこの時まで録る（--run のとき）\n"
                       "  --size WxH            動画の大きさ（既定 1842x614、表示器の 200 %）\n"
                       "  --fps F               1 秒のフレーム数（1〜120、既定 30）\n\n"));
    commandLine.acceptToolkitOptions();
    commandLine.refuseArguments();
    const QString render = QStringLiteral("render");
    const QString route = QStringLiteral("route");
    const QString speed = QStringLiteral("speed");
    const QString size = QStringLiteral("size");
    const QString fps = QStringLiteral("fps");
    const QString run = QStringLiteral("run");
    const QString from = QStringLiteral("from");
    const QString to = QStringLiteral("to");
    for (const QString &name : {render, route, speed, size, fps, run, from, to}) {
        commandLine.acceptValueOption(name);
    }
    const QStringList arguments = ProgramCommandLine::receivedArguments(argc, argv);
    // "--render --help" asks for this help, not for a file named --help.
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        out << commandLine.helpText();
        return 0;
    }
    if (const std::optional<int> exitCode = commandLine.answer(arguments, out, err)) {
        return *exitCode;
    }
    const auto refuse = [&err](const QString &problem) {
        err << QStringLiteral("R57: ") << problem << "\n" << QStringLiteral("使い方は R57 --render --help で表示します。\n");
        return 2;
    };
    RenderRequest request;
    request.out = commandLine.value(render);
    if (request.out.isEmpty()) {
        return refuse(QStringLiteral("--render には動画ファイルの名前が要ります（--render=OUT）"));
    }
    if (QString why; VideoEncoder::containerFor(request.out, &why).isEmpty()) {
        return refuse(why);
    }
    QString routeError;
    const std::optional<RouteArgument> routeArgument = RouteArgument::parse(commandLine.value(route), routeError);
    if (!routeArgument) {
        return refuse(routeError);
    }
    request.route = routeArgument->route;
    request.section = routeArgument->section;
    if (commandLine.isSet(run)) {
        request.trip = commandLine.value(run);
        if (request.trip.isEmpty()) {
            return refuse(QStringLiteral("--run の値は便の ID です"));
        }
    }
    for (const auto &[name, time] : {std::pair{from, &request.fromMs}, std::pair{to, &request.toMs}}) {
        if (!commandLine.isSet(name)) {
            continue;
        }
        if (request.trip.isEmpty()) {
            return refuse(QStringLiteral("--%1 は --run といっしょに使います").arg(name));
        }
        const std::optional<int> seconds = ServiceTime::parse(commandLine.value(name));
        if (!seconds) {
            return refuse(QStringLiteral("--%1 の値は時刻 HH:MM:SS です: %2").arg(name, commandLine.value(name)));
        }
        *time = qint64(*seconds) * 1000;
    }
    if (request.fromMs && request.toMs && *request.toMs <= *request.fromMs) {
        return refuse(QStringLiteral("--to は --from より後の時刻です"));
    }
    if (commandLine.isSet(speed)) {
        bool number = false;
        request.speed = commandLine.value(speed).toInt(&number);
        if (!number || request.speed < 1 || request.speed > MaxSpeed) {
            return refuse(QStringLiteral("--speed の値は 1 から %1 までの整数です: %2").arg(MaxSpeed).arg(commandLine.value(speed)));
        }
    }
    if (commandLine.isSet(size)) {
        static const QRegularExpression sizeForm(
            QRegularExpression::anchoredPattern(QStringLiteral("([0-9]{2,4})[xX×]([0-9]{2,4})")));
        const QRegularExpressionMatch match = sizeForm.match(commandLine.value(size));
        const QSize wanted = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
        if (wanted.width() < 16 || wanted.height() < 16 || wanted.width() > VideoFormat::MaxSide
            || wanted.height() > VideoFormat::MaxSide) {
            return refuse(QStringLiteral("--size の値は 幅x高さ（16〜%1）です: %2").arg(VideoFormat::MaxSide).arg(commandLine.value(size)));
        }
        request.format.size = wanted;
    }
    if (commandLine.isSet(fps)) {
        bool number = false;
        request.format.fps = commandLine.value(fps).toInt(&number);
        if (!number || request.format.fps < 1 || request.format.fps > VideoFormat::MaxFps) {
            return refuse(QStringLiteral("--fps の値は 1 から %1 までの整数です: %2").arg(VideoFormat::MaxFps).arg(commandLine.value(fps)));
        }
    }
    return request;
}

QtMessageHandler g_nextHandler = nullptr;

// The window system without a screen says, for every window shown, what it
// cannot do (raise it, shape it); nothing a render needs, so not said.
void quietOffScreen(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    g_nextHandler(type, context, message);
}

} // namespace

namespace RenderCommand {

bool requested(const QStringList &arguments)
{
    return std::any_of(arguments.cbegin() + std::min<qsizetype>(1, arguments.size()), arguments.cend(),
                       [](const QString &argument) {
                           return argument == QLatin1String("--render")
                               || argument.startsWith(QLatin1String("--render="));
                       });
}

int main(int argc, char *argv[])
{
    RenderRequest request;
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        std::variant<RenderRequest, int> read = readCommandLine(argc, argv, out, err);
        if (const int *exitCode = std::get_if<int>(&read)) {
            return *exitCode;
        }
        request = std::get<RenderRequest>(read);
    }
    // No window opens, with or without a desktop.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    g_nextHandler = qInstallMessageHandler(quietOffScreen);
    // A reader of the progress that goes away (| head) must not end the
    // render half-way with its file beside the old one: the lines are lost,
    // the video is made.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavelo"));
    QApplication::setApplicationVersion(ProgramCommandLine::version());
    QtJapanese::install(app);
    JapaneseFonts::installSubstitutions();
    QTextStream err(stderr);
    // Ctrl+C or SIGTERM ends the render without a file.
    SessionEndWatcher sessionEnd;
    bool interrupted = false;
    QObject::connect(&sessionEnd, &SessionEndWatcher::endRequested, [&interrupted] { interrupted = true; });

    QString error;
    std::unique_ptr<VideoEncoder> encoder = VideoEncoder::open(request.out, request.format, &error);
    if (!encoder) {
        err << QStringLiteral("R57: 動画を作れません: ") << error << Qt::endl;
        return 1;
    }
    const SettingsLocation settings = SettingsLocation::forRunningProgram();
    RecordingPlatform platform(&settings);
    Form1 display(platform.services());
    // Shown to Qt, painted and laid out as usual, but never put on a screen:
    // a window shown there would get its size back from the window system.
    display.setAttribute(Qt::WA_DontShowOnScreen);
    display.controlPanel()->setAttribute(Qt::WA_DontShowOnScreen);
    display.Form_Load();
    BoardFramePainter painter(display, request.format.size, platform.clock());
    RecordingTimeline timeline(request.format, platform.clock(), platform.sound(), *encoder,
                               [&painter] { return painter.paint(); });
    std::unique_ptr<RenderScript> script;
    if (request.trip.isEmpty()) {
        script = std::make_unique<AnnouncementScript>(display.operation(), platform.sound(), platform.clock(),
                                                      request.route, request.section, request.speed);
    } else {
        script = std::make_unique<TimetableScript>(display.operation(), platform.sound(), platform.clock(), timeline,
                                                   request.format.fps, request.route, request.section, request.trip, request.speed,
                                                   request.fromMs, request.toMs);
    }
    OfflineRender render(timeline, *encoder, err);
    const QString failure = render.run(*script, [&interrupted] { return interrupted; });
    if (!failure.isEmpty()) {
        err << QStringLiteral("R57: 動画を作れませんでした: ") << failure << Qt::endl;
        return 1;
    }
    err << QStringLiteral("R57: %1 を作りました（%2 フレーム、%3 秒）")
               .arg(QDir::toNativeSeparators(request.out))
               .arg(timeline.recordedFrames())
               .arg(double(request.format.frameStartMs(timeline.recordedFrames())) / 1000, 0, 'f', 1)
        << Qt::endl;
    return 0;
}

} // namespace RenderCommand
