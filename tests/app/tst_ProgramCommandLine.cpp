#include "app/ProgramCommandLine.h"

#include <QTest>
#include <QTextStream>

class tst_ProgramCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void helpAndVersionEndAtOnce_data();
    void helpAndVersionEndAtOnce();
    void badOptionsAreRefused_data();
    void badOptionsAreRefused();
    void toolkitOptionsAndArgumentsGoOn();
    void optionValueMayBeLeftOut();
};

namespace {

// What a program made of its command line: the exit code when it ends at
// once (-1 when it goes on), and what it wrote where.
struct Answer
{
    int exitCode = -1;
    QString out;
    QString err;
};

Answer answer(ProgramCommandLine &commandLine, const QStringList &arguments)
{
    Answer result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.exitCode = commandLine.answer(QStringList{QStringLiteral("/usr/bin/R57")} + arguments, out, err).value_or(-1);
    return result;
}

// The command line of the window program, which takes no arguments.
struct WindowProgram : ProgramCommandLine
{
    WindowProgram()
        : ProgramCommandLine(QStringLiteral("R57"), QStringLiteral("使い方: R57 [オプション]\n"))
    {
        acceptToolkitOptions();
        refuseArguments();
    }
};

} // namespace

void tst_ProgramCommandLine::helpAndVersionEndAtOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    const QString help = QStringLiteral("使い方: R57 [オプション]\n");
    const QString version = QStringLiteral("R57 4.0.0\n");
    QTest::newRow("--help") << QStringList{"--help"} << help;
    QTest::newRow("-h") << QStringList{"-h"} << help;
    // As the toolkit spells its own options.
    QTest::newRow("-help") << QStringList{"-help"} << help;
    QTest::newRow("--version") << QStringList{"--version"} << version;
    QTest::newRow("-v") << QStringList{"-v"} << version;
    QTest::newRow("help wins over toolkit options") << QStringList{"-platform", "xcb", "--help"} << help;
}

void tst_ProgramCommandLine::helpAndVersionEndAtOnce()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    WindowProgram commandLine;
    const Answer result = answer(commandLine, arguments);
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.startsWith(expected), qPrintable(result.out));
    QVERIFY(result.err.isEmpty());
    if (expected.startsWith(QStringLiteral("使い方"))) {
        QVERIFY(result.out.contains(QStringLiteral("--version")));
    }
}

void tst_ProgramCommandLine::badOptionsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown long") << QStringList{"--colour=red"} << "--colour=red";
    QTest::newRow("unknown single dash") << QStringList{"-x"} << "-x";
    QTest::newRow("after a good one") << QStringList{"-style", "fusion", "--fullscreen"} << "--fullscreen";
    QTest::newRow("missing value") << QStringList{"-platform"} << "-platform の後に値がありません";
    QTest::newRow("value to a flag") << QStringList{"--help=all"} << "--help=all は値を取りません";
    QTest::newRow("an argument") << QStringList{"0.hy3"} << "0.hy3";
}

void tst_ProgramCommandLine::badOptionsAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    WindowProgram commandLine;
    const Answer result = answer(commandLine, arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.startsWith(QStringLiteral("R57: ")), qPrintable(result.err));
    QVERIFY2(result.err.contains(named), qPrintable(result.err));
    QVERIFY(result.err.contains(QStringLiteral("R57 --help")));
}

void tst_ProgramCommandLine::toolkitOptionsAndArgumentsGoOn()
{
    WindowProgram window;
    QCOMPARE(answer(window, {}).exitCode, -1);
    QCOMPARE(answer(window, {"-platform", "offscreen", "-reverse", "-style=fusion"}).exitCode, -1);

    // A tool takes arguments, but not the toolkit's options.
    ProgramCommandLine tool(QStringLiteral("hy3tool"), QStringLiteral("使い方:\n"));
    const Answer check = answer(tool, {"check", "0.hy3"});
    QCOMPARE(check.exitCode, -1);
    QCOMPARE(tool.positionalArguments(), (QStringList{"check", "0.hy3"}));
    QCOMPARE(answer(tool, {"-platform", "offscreen"}).exitCode, 2);
}

void tst_ProgramCommandLine::optionValueMayBeLeftOut()
{
    WindowProgram window;
    window.acceptOptionalValueOption(QStringLiteral("fullscreen"), QStringLiteral("N"), QStringLiteral("全画面"));
    window.acceptOptionalValueOption(QStringLiteral("remote"), QStringLiteral("HOST:PORT"), QStringLiteral("遠隔"));
    QVERIFY(answer(window, {"--help"}).out.contains(QStringLiteral("--fullscreen[=N]  全画面")));
    QCOMPARE(answer(window, {}).exitCode, -1);
    QVERIFY(!window.isSet(QStringLiteral("fullscreen")));
    QCOMPARE(answer(window, {"--fullscreen", "-remote"}).exitCode, -1);
    QVERIFY(window.isSet(QStringLiteral("fullscreen")) && window.isSet(QStringLiteral("remote")));
    QCOMPARE(window.value(QStringLiteral("fullscreen")), QString(""));
    QCOMPARE(window.value(QStringLiteral("remote")), QString(""));
    QCOMPARE(answer(window, {"--fullscreen=2", "-platform", "offscreen", "--remote=0.0.0.0:9000"}).exitCode, -1);
    QCOMPARE(window.value(QStringLiteral("fullscreen")), QStringLiteral("2"));
    QCOMPARE(window.value(QStringLiteral("remote")), QStringLiteral("0.0.0.0:9000"));
}

QTEST_GUILESS_MAIN(tst_ProgramCommandLine)
#include "tst_ProgramCommandLine.moc"
