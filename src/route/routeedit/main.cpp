#include "app/ProgramCommandLine.h"
#include "app/QtJapanese.h"
#include "display/JapaneseFonts.h"
#include "route/editor/RouteEditor.h"
#include "settings/SettingsLocation.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QString file;
    {
        ProgramCommandLine commandLine(
            QStringLiteral("routeedit"),
            QStringLiteral("使い方: routeedit [オプション] [ファイル]\n"
                           "路線エディタ: 停留所、運賃の決め方、放送文と読みを編集し、\n"
                           "<系統>.route.json と運賃データ（<系統>.hy3）、放送用データ（<系統>tp.csv）、\n"
                           "読みの辞書（yomi.txt）を保存します。「表示器で試す」で動いている R57 に設定します。\n"
                           "ファイルは .route.json、.hy3（tp.csv も読みます）または hy3tool の CSV です。\n"
                           "Qt の標準オプション（-platform など）も使えます。\n\n"));
        commandLine.acceptToolkitOptions();
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (const std::optional<int> exitCode =
                commandLine.answer(ProgramCommandLine::receivedArguments(argc, argv), out, err)) {
            return *exitCode;
        }
        if (commandLine.positionalArguments().size() > 1) {
            err << QStringLiteral("routeedit: 開くファイルは 1 つです: %1\n")
                       .arg(commandLine.positionalArguments().join(QLatin1Char(' ')))
                << QStringLiteral("使い方は routeedit --help で表示します。\n");
            return 2;
        }
        file = commandLine.positionalArguments().value(0);
    }
    if (!ProgramCommandLine::hasDisplay()) {
        std::fputs("routeedit needs a display (no DISPLAY or WAYLAND_DISPLAY is set).\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavelo"));
    QApplication::setApplicationVersion(ProgramCommandLine::version());
    QtJapanese::install(app);
    JapaneseFonts::installSubstitutions();

    // The display the route is tried on: the program beside this one, with
    // its settings where it keeps them.
    const QString display = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("R57"));
    RouteEditor editor(SettingsLocation::forProgram(display).savePath(), display);
    editor.show();
    if (!file.isEmpty()) {
        editor.openFile(file);
    }
    return app.exec();
}
