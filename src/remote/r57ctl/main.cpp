// r57ctl: drives the running display program (R57 --remote) from a script
// or a terminal, through its remote interface.
#include "R57Client.h"

#include "app/ProgramCommandLine.h"
#include "app/ToolConsole.h"
#include "run/RunClock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using enum ToolConsole::ExitCode;
using ToolConsole::err;
using ToolConsole::out;

namespace {

const char *const Usage =
    "使い方: r57ctl [--url URL] [--token T] コマンド\n"
    "起動中の R57（R57 --remote）を操作します。\n\n"
    "コマンド:\n"
    "  state [--json]          いまの表示（--json: JSON のまま）\n"
    "  route N [SECTION]       系統 N（5 桁まで）を区間 SECTION（既定 1）で設定\n"
    "  next | back             データ送り / データ戻し\n"
    "  say-next | say-back     放送の送り / 戻し\n"
    "  say-stop                放送を止める\n"
    "  late-night on|off       深夜料金\n"
    "  backlight 0|1|2         バックライト OFF / ON1 / ON2\n"
    "  clear on|off            表示消去\n"
    "  stop-request            降車ボタン（とまります）を押す\n"
    "  run TRIP [--speed X]    設定中の系統の便 TRIP を時刻表で運行（X: 1〜600 倍、既定 1）\n"
    "  run stop                運行をやめる\n"
    "  run pause | run resume  運行の一時停止 / 再開\n"
    "  watch [--json]          変わるたびに表示する（Ctrl+C で終わる）\n\n"
    "終了コード: 0 完了、1 R57 が断った（理由を表示）、2 使い方の誤り、3 R57 が応答しない\n";

// One line that says where the bus is, as the operator reads the panel.
QString summary(const QJsonObject &state)
{
    if (state.value("held").toString().size() > 0) {
        return QStringLiteral("操作盤: %1").arg(state.value("held").toString());
    }
    if (state.value("stop").isNull()) {
        return QStringLiteral("系統: 未設定");
    }
    const QJsonObject stop = state.value("stop").toObject();
    QString line = QStringLiteral("系統 %1 区間 %2  停留所 %3/%4 %5（整理券 %6）")
                       .arg(state.value("route").toString())
                       .arg(state.value("section").toInt())
                       .arg(stop.value("position").toInt())
                       .arg(stop.value("count").toInt())
                       .arg(stop.value("name").toString())
                       .arg(stop.value("ticket").toInt());
    static const char *const backlights[] = {"OFF", "ON1", "ON2"};
    line += QStringLiteral("  バックライト %1").arg(QLatin1String(backlights[qBound(0, state.value("backlight").toInt(), 2)]));
    if (state.value("lateNight").toBool()) {
        line += QStringLiteral("  深夜料金");
    }
    if (state.value("cleared").toBool()) {
        line += QStringLiteral("  表示消去中");
    }
    if (state.value("stopRequested").toBool()) {
        line += QStringLiteral("  とまります");
    }
    if (state.value("run").isObject()) {
        const QJsonObject run = state.value("run").toObject();
        line += QStringLiteral("\n運行 %1 便 %2 ×%3 %4%5")
                    .arg(run.value("mode").toString(), run.value("trip").toString())
                    .arg(run.value("speed").toInt())
                    .arg(run.value("clock").toString(),
                         run.value("paused").toBool() ? QStringLiteral("（一時停止中）") : QString());
        if (run.value("next").isObject()) {
            const QJsonObject next = run.value("next").toObject();
            line += QStringLiteral("  次 %1 停留所 %2").arg(next.value("at").toString()).arg(next.value("position").toInt());
        }
    }
    const QJsonObject announcement = state.value("announcement").toObject();
    if (announcement.value("available").toBool()) {
        line += QStringLiteral("\n放送 %1/%2%3  次: %4")
                    .arg(announcement.value("position").toInt())
                    .arg(announcement.value("count").toInt())
                    .arg(announcement.value("speaking").toBool() ? QStringLiteral("（放送中）") : QString())
                    .arg(announcement.value("next").toString());
    }
    return line;
}

int usage(const QString &problem)
{
    err() << "r57ctl: " << problem << "\n" << QStringLiteral("使い方は r57ctl --help で表示します。\n");
    return CannotRun;
}

int noProgram(const QUrl &url, const QString &why)
{
    err() << QStringLiteral("r57ctl: %1 で R57 が応答しません（%2）。R57 --remote で起動しているか確かめてください。\n")
                 .arg(url.toString(QUrl::RemoveQuery), why);
    return NoProgram;
}

// What the program answered: the state on success, the reason otherwise.
int finish(const QUrl &url, const R57Client::Reply &reply, bool asJson)
{
    if (!reply.answered) {
        return noProgram(url, reply.error);
    }
    const QJsonObject body = QJsonDocument::fromJson(reply.body).object();
    if (reply.status != 200) {
        const QString reason = body.value("error").toString();
        err() << QStringLiteral("r57ctl: R57 が断りました（%1）: %2\n")
                     .arg(reply.status)
                     .arg(reason.isEmpty() ? QString::fromUtf8(reply.body) : reason);
        return FileRefused;
    }
    out() << (asJson ? QString::fromUtf8(reply.body) : summary(body)) << Qt::endl;
    return Success;
}

std::optional<bool> onOff(const QString &word)
{
    if (word == QLatin1String("on")) {
        return true;
    }
    if (word == QLatin1String("off")) {
        return false;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(ProgramCommandLine::version());

    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, QString());
    const QCommandLineOption version({"v", "version"}, QString());
    const QCommandLineOption urlOption("url", QString(), "URL", qEnvironmentVariable("R57_URL", "http://127.0.0.1:8157/"));
    const QCommandLineOption tokenOption("token", QString(), "T", qEnvironmentVariable("R57_TOKEN"));
    const QCommandLineOption jsonOption("json");
    const QCommandLineOption speedOption("speed", QString(), "X");
    parser.addOptions({help, version, urlOption, tokenOption, jsonOption, speedOption});
    if (!parser.parse(QCoreApplication::arguments())) {
        return usage(parser.errorText());
    }
    if (parser.isSet(help)) {
        out() << QString::fromUtf8(Usage)
              << QStringLiteral("\nオプション:\n"
                                "  --url URL    R57 のアドレス（既定 http://127.0.0.1:8157/、環境変数 R57_URL）\n"
                                "               R57 が表示した ?token= 付きのアドレスもそのまま使えます\n"
                                "  --token T    トークン（環境変数 R57_TOKEN）\n"
                                "  --speed X    run の速さ（実時間の X 倍、1〜600）\n"
                                "  -h, --help   この説明を表示する\n"
                                "  -v, --version バージョンを表示する\n");
        return Success;
    }
    if (parser.isSet(version)) {
        out() << "r57ctl " << ProgramCommandLine::version() << "\n";
        return Success;
    }
    const QUrl url(parser.value(urlOption));
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        return usage(QStringLiteral("--url は http://HOST:PORT/ の形です: %1").arg(parser.value(urlOption)));
    }
    const bool asJson = parser.isSet(jsonOption);
    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        return usage(QStringLiteral("コマンドがありません"));
    }
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    const auto arity = [&](qsizetype least, qsizetype most) { return rest.size() >= least && rest.size() <= most; };

    R57Client client(url, parser.value(tokenOption));
    if (command == QLatin1String("state") && arity(0, 0)) {
        return finish(url, client.get(QStringLiteral("/api/state")), asJson);
    }
    if (command == QLatin1String("route") && arity(1, 2)) {
        QJsonObject arguments{{"route", rest.at(0)}};
        if (rest.size() == 2) {
            arguments.insert("section", rest.at(1));
        }
        return finish(url, client.post(QStringLiteral("/api/route"), arguments), asJson);
    }
    if ((command == QLatin1String("next") || command == QLatin1String("back")) && arity(0, 0)) {
        return finish(url,
                      client.post(QStringLiteral("/api/step"),
                                  {{"direction", command == QLatin1String("next") ? "forward" : "back"}}),
                      asJson);
    }
    if ((command == QLatin1String("say-next") || command == QLatin1String("say-back")) && arity(0, 0)) {
        return finish(url,
                      client.post(QStringLiteral("/api/announce"),
                                  {{"direction", command == QLatin1String("say-next") ? "next" : "back"}}),
                      asJson);
    }
    if (command == QLatin1String("say-stop") && arity(0, 0)) {
        return finish(url, client.post(QStringLiteral("/api/announce/stop"), {}), asJson);
    }
    if (command == QLatin1String("stop-request") && arity(0, 0)) {
        return finish(url, client.post(QStringLiteral("/api/stop-request"), {}), asJson);
    }
    if ((command == QLatin1String("late-night") || command == QLatin1String("clear")) && arity(1, 1)) {
        const std::optional<bool> on = onOff(rest.at(0));
        if (!on) {
            return usage(QStringLiteral("%1 の後は on か off です").arg(command));
        }
        return finish(url, client.post(QStringLiteral("/api/") + command, {{"on", *on}}), asJson);
    }
    if (command == QLatin1String("backlight") && arity(1, 1)) {
        bool ok = false;
        const int state = rest.at(0).toInt(&ok);
        if (!ok || state < 0 || state > 2) {
            return usage(QStringLiteral("backlight の後は 0、1、2 のどれかです"));
        }
        return finish(url, client.post(QStringLiteral("/api/backlight"), {{"state", state}}), asJson);
    }
    if (parser.isSet(speedOption) && !(command == QLatin1String("run") && rest.size() == 1
                                       && rest.at(0) != QLatin1String("stop") && rest.at(0) != QLatin1String("pause")
                                       && rest.at(0) != QLatin1String("resume"))) {
        return usage(QStringLiteral("--speed は run TRIP といっしょに使います"));
    }
    if (command == QLatin1String("run") && arity(1, 1)) {
        const QString what = rest.at(0);
        if (what == QLatin1String("stop")) {
            return finish(url, client.post(QStringLiteral("/api/run/stop"), {}), asJson);
        }
        if (what == QLatin1String("pause") || what == QLatin1String("resume")) {
            return finish(url, client.post(QStringLiteral("/api/run/pause"), {{"paused", what == QLatin1String("pause")}}),
                          asJson);
        }
        QJsonObject arguments{{"trip", what}};
        if (parser.isSet(speedOption)) {
            bool ok = false;
            const int speed = parser.value(speedOption).toInt(&ok);
            if (!ok || speed < RunClock::MinSpeed || speed > RunClock::MaxSpeed) {
                return usage(QStringLiteral("--speed は %1 から %2 までの整数です: %3")
                                 .arg(RunClock::MinSpeed)
                                 .arg(RunClock::MaxSpeed)
                                 .arg(parser.value(speedOption)));
            }
            arguments.insert("speed", speed);
        }
        return finish(url, client.post(QStringLiteral("/api/run"), arguments), asJson);
    }
    if (command == QLatin1String("watch") && arity(0, 0)) {
        QString error;
        const int code = client.watch(
            [asJson](const QByteArray &state) {
                out() << (asJson ? QString::fromUtf8(state) : summary(QJsonDocument::fromJson(state).object()))
                      << Qt::endl;
            },
            &error);
        if (code == NoProgram) {
            return noProgram(url, error);
        }
        if (code == FileRefused) {
            err() << QStringLiteral("r57ctl: R57 が断りました: %1\n").arg(error);
        }
        return code;
    }
    return usage(QStringLiteral("コマンド「%1」の使い方が違います").arg(args.join(QLatin1Char(' '))));
}
