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

#include <QCommandLineParser>
#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

namespace {

using enum ToolConsole::ExitCode;
using ToolConsole::err;
using ToolConsole::out;

int check(const QString &path)
{
    QList<DescriptionProblem> problems;
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::readFile(path, &problems);
    if (!ticket) {
        for (const DescriptionProblem &problem : problems) {
            out() << path << ": " << problem.path << ": " << problem.why << Qt::endl;
        }
        out() << path << ": refused, " << problems.size() << " problem(s)" << Qt::endl;
        return FileRefused;
    }
    out() << path << ": a valid ticket plug-in, " << ticket->size.width() << " x " << ticket->size.height()
          << " pixels, " << ticket->elements.size() << " element(s)" << Qt::endl;
    for (const QString &line : PluginProperties::lines(ticket->plgInfo())) {
        out() << "  " << line << Qt::endl;
    }
    return Success;
}

int render(const QString &path, const QString &output, const QCommandLineParser &options)
{
    QList<DescriptionProblem> problems;
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::readFile(path, &problems);
    if (!ticket) {
        err() << path << ": refused; run \"tickettool check\" to see why" << Qt::endl;
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
        err() << output << ": cannot be written" << Qt::endl;
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
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationVersion(ProgramCommandLine::version());
    JapaneseFonts::installSubstitutions();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Checks and draws ticket plug-ins (*.4SP).\n"
        "  check FILE.4SP            lists every problem with its place in the file\n"
        "  render FILE.4SP OUT.png   draws the ticket as the control panel's preview does");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"stop", "Stop name.", "name", QStringLiteral("市役所前")},
        {"number", "Ticket number of the stop.", "n", "5"},
        {"route", "Route number.", "n", "12"},
        {"position", "Stop position in the route.", "n", "5"},
        {"company", "Company index, -1 for none.", "n", "-1"},
        {"date", "Date text, MM-DD-YYYY or YYYY/MM/DD (default: today).", "text"},
        {"time", "Time text, HH:MM:SS (default: now).", "text"},
    });
    parser.addPositionalArgument("command", "check or render");
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() == 2 && args[0] == "check") {
        return check(args[1]);
    }
    if (args.size() == 3 && args[0] == "render") {
        return render(args[1], args[2], parser);
    }
    err() << parser.helpText();
    return CannotRun;
}
