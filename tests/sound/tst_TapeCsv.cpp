#include "formats/Cp932.h"
#include "formats/TapeCsv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_TapeCsv : public QObject
{
    Q_OBJECT

private:
    // The lines in Shift_JIS, each ended by CR LF.
    static QByteArray sjisFile(const QStringList &lines)
    {
        QByteArray bytes;
        for (const QString &line : lines) {
            bytes += Cp932::encode(line) + "\r\n";
        }
        return bytes;
    }

private slots:
    void readsTextAndFlags()
    {
        const TapeCsvContents contents = TapeCsv::parse(sjisFile({
            QStringLiteral("次は、駅前です。,1,2"),
            QStringLiteral("\"両替は,停車中に\",0,3"),
            QStringLiteral("  \"言う \"\"はい\"\"\"  , -32768 , +32767 "),
            QStringLiteral(",1,0"),
        }));
        QVERIFY(contents.errors.isEmpty());
        QCOMPARE(contents.records.size(), 4);
        QCOMPARE(contents.records[0].Text, QStringLiteral("次は、駅前です。"));
        QCOMPARE(contents.records[0].StepFlag, qint16(1));
        QCOMPARE(contents.records[0].SoundFlag, qint16(2));
        QCOMPARE(contents.records[1].Text, QStringLiteral("両替は,停車中に"));
        QCOMPARE(contents.records[2].Text, QStringLiteral("言う \"はい\""));
        QCOMPARE(contents.records[2].StepFlag, qint16(-32768));
        QCOMPARE(contents.records[2].SoundFlag, qint16(32767));
        QCOMPARE(contents.records[3].Text, QString());
    }

    void lineEndsAndTrailingBlankLines()
    {
        // A bare LF ends a line as well; blank lines at the end are not records.
        const TapeCsvContents contents = TapeCsv::parse("a,0,0\nb,0,0\r\n\r\n  \r\n");
        QVERIFY(contents.errors.isEmpty());
        QCOMPARE(contents.records.size(), 2);
        QCOMPARE(contents.records[1].Text, QStringLiteral("b"));
        QVERIFY(TapeCsv::parse("").records.isEmpty());
    }

    void refusesMalformedLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("reasonPart");
        QTest::newRow("blank line between records") << QByteArray("") << QStringLiteral("空行");
        QTest::newRow("two fields") << QByteArray("text,1") << QStringLiteral("3つ");
        QTest::newRow("four fields") << QByteArray("a,b,1,2") << QStringLiteral("3つ");
        QTest::newRow("trailing comma") << QByteArray("a,1,2,") << QStringLiteral("3つ");
        QTest::newRow("a line of commas") << "a" + QByteArray(100000, ',') << QStringLiteral("100001個");
        QTest::newRow("word as flag") << QByteArray("a,one,2") << QStringLiteral("2番目");
        QTest::newRow("decimal flag") << QByteArray("a,1,2.5") << QStringLiteral("3番目");
        QTest::newRow("empty flag") << QByteArray("a,,2") << QStringLiteral("2番目");
        QTest::newRow("flag too big") << QByteArray("a,32768,2") << QStringLiteral("2番目");
        QTest::newRow("flag too small") << QByteArray("a,1,-32769") << QStringLiteral("3番目");
        QTest::newRow("open quote") << QByteArray("\"a,1,2") << QStringLiteral("閉じていません");
        QTest::newRow("text after quote") << QByteArray("\"a\"b,1,2") << QStringLiteral("余分");
        QTest::newRow("not Shift_JIS") << QByteArray("\x82\xa0\xff,1,2") << QStringLiteral("Shift_JIS");
        QTest::newRow("unassigned double-byte code") << QByteArray("\x85\x40,1,2") << QStringLiteral("Shift_JIS");
    }

    void refusesMalformedLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, reasonPart);
        const TapeCsvContents contents = TapeCsv::parse("good,0,0\r\n" + line + "\r\nalso good,1,1\r\n");
        QCOMPARE(contents.errors.size(), 1);
        QCOMPARE(contents.errors[0].line, 2);
        QVERIFY2(contents.errors[0].reason.contains(reasonPart), qPrintable(contents.errors[0].reason));
    }

    void reportsEveryBadLine()
    {
        const TapeCsvContents contents = TapeCsv::parse("a,1\r\nb,0,0\r\nc,x,0\r\n");
        QCOMPARE(contents.errors.size(), 2);
        QCOMPARE(contents.errors[0].line, 1);
        QCOMPARE(contents.errors[1].line, 3);
    }

    void filePathOfARoute()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QCOMPARE(TapeCsv::filePath(dir.path() + "/", "12"), dir.path() + "/12tp.csv");
        QCOMPARE(TapeCsv::filePath(dir.path(), "12"), dir.path() + "/12tp.csv");
        QCOMPARE(TapeCsv::filePath(QString(), "7"), QStringLiteral("7tp.csv"));

        // A file named on a machine that ignores letter case is still found.
        QFile windowsNamed(dir.filePath("12Tp.CSV"));
        QVERIFY(windowsNamed.open(QIODevice::WriteOnly));
        windowsNamed.close();
        QCOMPARE(TapeCsv::filePath(dir.path() + "/", "12"), dir.filePath("12Tp.CSV"));
        QCOMPARE(TapeCsv::filePath(dir.path() + "/", "1"), dir.path() + "/1tp.csv");
    }
};

QTEST_APPLESS_MAIN(tst_TapeCsv)
#include "tst_TapeCsv.moc"
