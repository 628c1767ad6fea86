#include "FareFiles.h"

#include "fare/FareCsv.h"

#include <QTest>

class tst_FareCsv : public QObject
{
    Q_OBJECT

private slots:
    void readsStopsAndSkipsCommentsAndBlankLines()
    {
        const FareCsvContents contents = FareCsv::parse("\xEF\xBB\xBF# 停名,整理券番号,1\r\n"
                                                        "駅前,1,-1,-1\r\n"
                                                        "\n"
                                                        "\"本町,一丁目 \"\"北\"\"\", 2 ,170,32767,-32768\n"
                                                        ",0\n");
        QVERIFY(contents.errors.empty());
        QCOMPARE(contents.records.size(), size_t(3));
        QCOMPARE(contents.records[0].name, QStringLiteral("駅前"));
        QCOMPARE(contents.records[0].column(2), qint16(-1));
        QCOMPARE(contents.records[0].column(3), qint16(0)); // columns left off are 0
        QCOMPARE(contents.records[1].name, QStringLiteral("本町,一丁目 \"北\""));
        QCOMPARE(contents.records[1].ticketNumber, qint16(2));
        QCOMPARE(contents.records[1].column(3), qint16(-32768));
        QCOMPARE(contents.records[2].name, QString());
    }

    void namesEachLineItRefuses()
    {
        QByteArray csv = "駅前,1\n"                 // line 1 fine
                         "Ünïcode😀,2\n"             // 2: not CP932
                         "本町,3,32768\n"            // 3: beyond 16 bits
                         "上町\n"                    // 4: no ticket number
                         "新田,x\n"                  // 5: not a number
                         "\"open,5\n"                // 6: quote left open
                         "新町,1,";                   // 7: an empty column
        csv += QByteArray(150, ',') + "\n";          // 7: ... and 151 columns
        const FareCsvContents contents = FareCsv::parse(csv);
        QCOMPARE(contents.errors.size(), size_t(6));
        const int lines[] = {2, 3, 4, 5, 6, 7};
        for (size_t i = 0; i < contents.errors.size(); ++i) {
            QCOMPARE(contents.errors[i].line, lines[i]);
            QVERIFY(!contents.errors[i].reason.isEmpty());
        }
        QVERIFY(contents.errors[1].reason.contains(QStringLiteral("32768")));
        // Fields past the last column are counted, not kept.
        QVERIFY2(contents.errors[5].reason.contains(QStringLiteral("151列")), qPrintable(contents.errors[5].reason));
        const FareCsvContents commas = FareCsv::parse("a,1" + QByteArray(100000, ','));
        QVERIFY2(commas.errors.at(0).reason.contains(QStringLiteral("100000列")), qPrintable(commas.errors[0].reason));
    }

    void refusesMoreStopsThanTheTableHolds()
    {
        QByteArray csv;
        for (int n = 1; n <= 302; ++n) {
            csv += "s," + QByteArray::number(n) + "\n";
        }
        const FareCsvContents contents = FareCsv::parse(csv);
        QCOMPARE(contents.errors.size(), size_t(1));
        QCOMPARE(contents.errors[0].line, 302);
    }

    void writesWhatItReads()
    {
        std::vector<StopRecord> records = FareFiles::stops(3);
        records[0].name = QStringLiteral("#1 \"山﨑\", 北口 ");
        records[1].name.clear();
        records[2].columns.fill(-1);
        const QByteArray csv = FareCsv::write(records);
        const FareCsvContents contents = FareCsv::parse(csv);
        QVERIFY(contents.errors.empty());
        QCOMPARE(contents.records, records);
    }
};

QTEST_GUILESS_MAIN(tst_FareCsv)
#include "tst_FareCsv.moc"
