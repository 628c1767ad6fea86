#include "ProgramCommandLine.h"

#include <QTextStream>

namespace {

constexpr int Refused = 2;

// The argument as it was written ("--colour=red") for an option the parser
// names without its dashes and value ("colour").
QString asWritten(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments) {
        QString bare = argument.section(QLatin1Char('='), 0, 0);
        while (bare.startsWith(QLatin1Char('-'))) {
            bare.remove(0, 1);
        }
        if (bare == name) {
            return argument;
        }
    }
    return name;
}

} // namespace

ProgramCommandLine::ProgramCommandLine(const QString &program, const QString &usage)
    : m_program(program)
    , m_usage(usage)
    , m_help(QStringList{QStringLiteral("h"), QStringLiteral("help")})
    , m_version(QStringList{QStringLiteral("v"), QStringLiteral("version")})
{
    // "-help" and "-platform" are whole words, as the toolkit reads them.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
}

void ProgramCommandLine::acceptToolkitOptions()
{
    static const char *const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                            "qwindowgeometry", "geometry", "qwindowicon", "qwindowtitle",
                                            "title", "session", "display", "name", "style", "stylesheet",
                                            "qmljsdebugger"};
    static const char *const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char *name : withValue) {
        m_parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    }
    for (const char *name : flags) {
        m_parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
    }
}

void ProgramCommandLine::addValueOption(const QString &name, const QString &valueName)
{
    m_parser.addOption(QCommandLineOption(name, QString(), valueName));
}

std::optional<int> ProgramCommandLine::answer(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QString refusal;
    if (!m_parser.parse(arguments)) {
        const QStringList unknown = m_parser.unknownOptionNames();
        refusal = unknown.isEmpty()
            ? m_parser.errorText()
            : QStringLiteral("知らないオプションです: %1").arg(asWritten(arguments.mid(1), unknown.first()));
    } else if (m_refuseArguments && !m_parser.positionalArguments().isEmpty()) {
        refusal = QStringLiteral("引数は取りません: %1").arg(m_parser.positionalArguments().first());
    }
    if (!refusal.isEmpty()) {
        err << m_program << ": " << refusal << "\n"
            << QStringLiteral("使い方は %1 --help で表示します。\n").arg(m_program);
        return Refused;
    }
    if (m_parser.isSet(m_help)) {
        out << helpText();
        return 0;
    }
    if (m_parser.isSet(m_version)) {
        out << m_program << ' ' << version() << "\n";
        return 0;
    }
    return std::nullopt;
}

QString ProgramCommandLine::version()
{
    return QStringLiteral(TAVELO_VERSION);
}

QString ProgramCommandLine::helpText() const
{
    return m_usage
        + QStringLiteral("オプション:\n"
                         "  -h, --help     この説明を表示する\n"
                         "  -v, --version  バージョンを表示する\n");
}
