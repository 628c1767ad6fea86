// tickettool: a companion for people who write ticket plug-ins (*.4SP).
//   tickettool check FILE.4SP            every problem, with where and why
//   tickettool render FILE.4SP OUT.png   the ticket as the preview draws it
// The program itself only says that a file is refused, so this is where an
// author finds out what is wrong.

#include "app/ProgramCommandLine.h"
#include "app/ToolConsole.h"
#include "companion/PluginBridge.h"
#include "display/JapaneseFonts.h"
#include "ticket/PluginProperties.h"
#include "ticket/TicketDescriptionReader.h"

#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include <optional>

namespace {

using enum ToolConsole::ExitCode;
using ToolConsole::err;
using ToolConsole::out;

QString usageText()
{
    return QStringLiteral(
        "使い方:\n"
        "  tickettool check FILE.4SP            整理券プラグインを検査し、問題をファイル内の場所と理由つきで示す\n"
        "  tickettool render FILE.4SP OUT.png   集中操作盤のプレビューと同じに整理券を描き、PNG に書く\n"
        "render で描く内容（省くと括弧内の値）:\n"
        "  --stop 停名              停名（市役所前）\n"
        "  --number n               整理券番号（5）\n"
        "  --route n                系統番号（12）\n"
        "  --position n             系統内の停留所の位置（5）\n"
        "  --company n              社名の番号、-1 で社名なし（-1）\n"
        "  --date MM-DD-YYYY        日付、YYYY/MM/DD も可（今日）\n"
        "  --time HH:MM:SS          時刻（今）\n\n");
}

int check(const QString &path)
{
    QList<DescriptionProblem> problems;
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::readFile(path, &problems);
    if (!ticket) {
        for (const DescriptionProblem &problem : problems) {
            err() << path << ": " << problem.path << ": " << problem.why << "\n";
        }
        err() << path << ": " << problems.size() << " 件の問題があり、このプラグインは読み込まれません。\n";
        return FileRefused;
    }
    out() << path << ": 正しい整理券プラグインです。" << ticket->size.width() << " × " << ticket->size.height()
          << " ピクセル、要素 " << ticket->elements.size() << " 個。\n";
    for (const QString &line : PluginProperties::lines(ticket->plgInfo())) {
        out() << "  " << line << "\n";
    }
    return Success;
}

int render(const QString &path, const QString &output, const ProgramCommandLine &options)
{
    QList<DescriptionProblem> problems;
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::readFile(path, &problems);
    if (!ticket) {
        err() << path << ": このプラグインは読み込まれません。理由は tickettool check で表示します。\n";
        return FileRefused;
    }
    // The preview box: white, the ticket's size.
    QImage image(ticket->size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QDateTime now = QDateTime::currentDateTime();
    const QString date = options.isSet("date") ? options.value("date") : now.toString("MM-dd-yyyy");
    const QString time = options.isSet("time") ? options.value("time") : now.toString("HH:mm:ss");
    PluginBridge::Brix4_DrawSeiriken(path, &image, options.value("stop"), date, time, options.value("route").toInt(),
                                     qint16(options.value("number").toInt()),
                                     qint16(options.value("position").toInt()), options.value("company").toInt());
    if (!image.save(output, "PNG")) {
        err() << output << ": 書き込めません。\n";
        return CannotRun;
    }
    return Success;
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The toolkit looks into the session's runtime folder as it starts and
    // warns when there is none, as in a shell without a desktop session. The
    // tool keeps nothing there: a private folder for this run will do.
    std::optional<QTemporaryDir> runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeDir.emplace();
        if (runtimeDir->isValid()) {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir->path()));
        }
    }
    QGuiApplication app(argc, argv);
    JapaneseFonts::installSubstitutions();

    ProgramCommandLine commandLine(QStringLiteral("tickettool"), usageText());
    commandLine.acceptValueOption(QStringLiteral("stop"), QStringLiteral("市役所前"));
    commandLine.acceptValueOption(QStringLiteral("number"), QStringLiteral("5"));
    commandLine.acceptValueOption(QStringLiteral("route"), QStringLiteral("12"));
    commandLine.acceptValueOption(QStringLiteral("position"), QStringLiteral("5"));
    commandLine.acceptValueOption(QStringLiteral("company"), QStringLiteral("-1"));
    commandLine.acceptValueOption(QStringLiteral("date"));
    commandLine.acceptValueOption(QStringLiteral("time"));
    if (const std::optional<int> exitCode = commandLine.answer(app.arguments(), out(), err())) {
        return *exitCode;
    }
    const QStringList args = commandLine.positionalArguments();
    if (args.size() == 2 && args[0] == QLatin1String("check")) {
        return check(args[1]);
    }
    if (args.size() == 3 && args[0] == QLatin1String("render")) {
        return render(args[1], args[2], commandLine);
    }
    err() << commandLine.helpText();
    return CannotRun;
}
