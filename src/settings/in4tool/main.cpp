// in4tool: prints a settings file as readable `block.field = value` lines, so
// that a user can see what was stored and a broken file can be diagnosed.
//
//   in4tool [FILE]
//
// Without FILE it reads the settings of the program R57 beside this tool, from
// where the program itself would read them.

#include "settings/In4Listing.h"
#include "settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tavelo"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() > 1 || (!args.isEmpty() && args.first().startsWith(QLatin1Char('-')))) {
        err << "usage: in4tool [FILE]\n";
        return 2;
    }
    QString path;
    if (args.isEmpty()) {
        const QString folder = QCoreApplication::applicationDirPath();
        path = SettingsLocation(folder + QStringLiteral("/R57"), QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                                SettingsLocation::isFolderWritable(folder))
                   .loadPath();
    } else {
        path = args.first();
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << path << ": " << file.errorString() << "\n";
        return 1;
    }
    out << "# " << path << "\n";
    const QStringList lines = In4Listing::lines(file.readAll());
    for (const QString &line : lines) {
        out << line << "\n";
    }
    return lines.last().startsWith(QLatin1String("# the file ends")) ? 1 : 0;
}
