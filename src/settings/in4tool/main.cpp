// in4tool: prints a settings file as readable `block.field = value` lines, so
// that a user can see what was stored and a broken file can be diagnosed.
//
//   in4tool [FILE]
//
// Without FILE it reads the settings of the program R57 beside this tool, from
// where the program itself would read them.

#include "app/ProgramCommandLine.h"
#include "app/ToolConsole.h"
#include "settings/In4Listing.h"
#include "settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tavelo"));
    QTextStream &out = ToolConsole::out();
    QTextStream &err = ToolConsole::err();

    ProgramCommandLine commandLine(QStringLiteral("in4tool"),
                                   QStringLiteral("使い方: in4tool [FILE]\n"
                                                  "設定ファイルを「ブロック.項目 = 値」の行にして表示する。\n"
                                                  "FILE を省くと、隣の R57 が読む設定ファイルを表示する。\n\n"));
    if (const std::optional<int> exitCode = commandLine.answer(QCoreApplication::arguments(), out, err)) {
        return *exitCode;
    }
    const QStringList args = commandLine.positionalArguments();
    if (args.size() > 1) {
        err << commandLine.helpText();
        return ToolConsole::CannotRun;
    }
    const QString path = args.isEmpty()
        ? SettingsLocation::forProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/R57")).loadPath()
        : args.first();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << path << ": " << file.errorString() << "\n";
        return ToolConsole::FileRefused;
    }
    out << "# " << path << "\n";
    const QStringList lines = In4Listing::lines(file.readAll());
    for (const QString &line : lines) {
        out << line << "\n";
    }
    return lines.last().startsWith(QLatin1String("# the file ends")) ? ToolConsole::FileRefused : ToolConsole::Success;
}
