#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

// What a program of the package makes of its command line before it starts
// its real work: --help and --version are answered at once (without a
// display), an option it does not know is refused with a message that says
// which one and where to look.
class ProgramCommandLine
{
public:
    // `program`: the name the messages use; `usage`: the lines of the help
    // text that say what the program does and which arguments it takes.
    explicit ProgramCommandLine(const QString &program, const QString &usage);

    // Also accepts the options the toolkit takes for itself (-platform,
    // -style, ...): QApplication removes them, but only once it exists, and a
    // window program answers --help before that.
    void acceptToolkitOptions();

    // Refuses arguments that are not options: the program takes none.
    void refuseArguments() { m_refuseArguments = true; }

    // Takes the option --`name` VALUE; without it, its value is `fallback`.
    // The usage lines describe it.
    void acceptValueOption(const QString &name, const QString &fallback = QString());
    // Takes the option --`name` VALUE (also "--name=VALUE"), listed in the
    // help as "--name=VALUE  description".
    void acceptDescribedValueOption(const QString &name, const QString &valueName, const QString &description);
    // Takes the option --`name` with or without its value ("--name" or
    // "--name=VALUE"), listed in the help as "--name[=VALUE]  description".
    void acceptOptionalValueOption(const QString &name, const QString &valueName, const QString &description);
    // After answer(): whether an option taken by acceptValueOption() or
    // acceptOptionalValueOption() was given, and its value (empty when an
    // optional value was left out).
    bool isSet(const QString &name) const { return m_parser.isSet(name); }
    QString value(const QString &name) const { return m_parser.value(name); }

    // Reads `arguments` (the program's own path first). When the program
    // should end at once, writes the help or version to `out`, or the refusal
    // to `err`, and gives the exit code; otherwise nothing.
    std::optional<int> answer(const QStringList &arguments, QTextStream &out, QTextStream &err);

    // The arguments that are not options, after answer().
    QStringList positionalArguments() const { return m_parser.positionalArguments(); }

    // Whether a window program has a desktop to open its windows on.
    static bool hasDisplay();
    // The command line as the program received it, before QApplication
    // takes its own options out.
    static QStringList receivedArguments(int argc, char *argv[]);

    // The package's version, "4.0.0": the same one the About box shows.
    static QString version();

    QString helpText() const;

private:
    QString m_program;
    QString m_usage;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    // The options that take a value, without their dashes.
    QStringList m_valueOptions;
    bool m_refuseArguments = false;
    // The program's own options, as the help lists them.
    QStringList m_ownOptionsHelp;
    QStringList m_optionalValueNames;
};
