#include "ProgramCommandLine.h"

#include <QTextStream>

namespace {

constexpr int Refused = 2;

// The name of an option argument without its dashes and value: "colour"
// for "--colour=red"; empty for an argument that is no option.
QString bareName(const QString &argument)
{
    if (!argument.startsWith(QLatin1Char('-'))) {
        return {};
    }
    QString bare = argument.section(QLatin1Char('='), 0, 0);
    while (bare.startsWith(QLatin1Char('-'))) {
        bare.remove(0, 1);
    }
    return bare;
}

// The argument as it was written ("--colour=red") for an option the parser
// names without its dashes and value ("colour").
QString asWritten(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments) {
        if (bareName(argument) == name) {
            return argument;
        }
    }
    return name;
}

// Why the parser refused options it knows: a value missing after the last
// one, or a value given to one that takes none.
QString misusedOption(const QStringList &arguments, const QStringList &valueOptions, const QString &parserText)
{
    if (!arguments.isEmpty() && !arguments.last().contains(QLatin1Char('='))
        && valueOptions.contains(bareName(arguments.last()))) {
        return QStringLiteral("%1 の後に値がありません").arg(arguments.last());
    }
    for (const QString &argument : arguments) {
        const QString bare = bareName(argument);
        if (!bare.isEmpty() && argument.contains(QLatin1Char('=')) && !valueOptions.contains(bare)) {
            return QStringLiteral("%1 は値を取りません").arg(argument);
        }
    }
    return parserText;
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
        acceptValueOption(QString::fromLatin1(name));
    }
    for (const char *name : flags) {
        m_parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
    }
}

void ProgramCommandLine::acceptValueOption(const QString &name, const QString &fallback)
{
    QCommandLineOption option(name, QString(), QStringLiteral("value"));
    if (!fallback.isNull()) {
        option.setDefaultValue(fallback);
    }
    m_parser.addOption(option);
    m_valueOptions << name;
}

void ProgramCommandLine::acceptDescribedValueOption(const QString &name, const QString &valueName,
                                                    const QString &description)
{
    m_parser.addOption(QCommandLineOption(name, description, valueName));
    m_valueOptions << name;
    m_ownOptionsHelp << QStringLiteral("  --%1=%2  %3\n").arg(name, valueName, description);
}

void ProgramCommandLine::acceptOptionalValueOption(const QString &name, const QString &valueName,
                                                   const QString &description)
{
    m_parser.addOption(QCommandLineOption(name, description, valueName));
    m_valueOptions << name;
    m_optionalValueNames << name;
    m_ownOptionsHelp << QStringLiteral("  --%1[=%2]  %3\n").arg(name, valueName, description);
}

std::optional<int> ProgramCommandLine::answer(const QStringList &given, QTextStream &out, QTextStream &err)
{
    // The parser knows options that always or never take a value: a bare
    // option that may take one is given its empty value.
    QStringList arguments = given;
    for (QString &argument : arguments) {
        for (const QString &name : std::as_const(m_optionalValueNames)) {
            if (argument == QLatin1String("--") + name || argument == QLatin1Char('-') + name) {
                argument = QStringLiteral("--%1=").arg(name);
            }
        }
    }
    QString refusal;
    if (!m_parser.parse(arguments)) {
        const QStringList unknown = m_parser.unknownOptionNames();
        refusal = unknown.isEmpty()
            ? misusedOption(arguments.mid(1), m_valueOptions, m_parser.errorText())
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

bool ProgramCommandLine::hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

QStringList ProgramCommandLine::receivedArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
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
                         "  -v, --version  バージョンを表示する\n")
        + m_ownOptionsHelp.join(QString());
}
