#include "FareFiles.h"

#include "formats/Cp932.h"
#include "formats/FareCsv.h"

#include <QMultiMap>
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

    void namesEveryFaultOfEachLineItRefuses()
    {
        QByteArray csv = "駅前,1\n"                 // line 1 fine
                         "Ünïcode😀,2\n"             // 2: not CP932
                         "本町,3,32768\n"            // 3: beyond 16 bits
                         "上町\n"                    // 4: no ticket number
                         "新田,x\n"                  // 5: not a number
                         "\"open,5\n"                // 6: quote left open
                         "新町,1,";                   // 7: 151 columns, all empty
        csv += QByteArray(150, ',') + "\n";
        csv += "Ü,x,70000\n";                       // 8: name, ticket number and column 1
        const FareCsvContents contents = FareCsv::parse(csv);
        QMultiMap<int, QString> reasons;
        for (const FareCsvError &error : contents.errors) {
            QVERIFY(!error.reason.isEmpty());
            reasons.insert(error.line, error.reason);
        }
        QCOMPARE(reasons.uniqueKeys(), (QList<int>{2, 3, 4, 5, 6, 7, 8}));
        for (const int line : {2, 3, 4, 5, 6}) {
            QCOMPARE(reasons.count(line), 1);
        }
        QVERIFY(reasons.value(3).contains(QStringLiteral("32768")));
        // Fields past the last column are counted, not kept; of the bad
        // values the first five are named and the rest counted.
        const QStringList line7 = reasons.values(7);
        QCOMPARE(line7.size(), 7);
        QVERIFY2(line7.filter(QStringLiteral("151列")).size() == 1, qPrintable(line7.join('\n')));
        QVERIFY2(line7.filter(QStringLiteral("145 個")).size() == 1, qPrintable(line7.join('\n')));
        const QStringList line8 = reasons.values(8);
        QCOMPARE(line8.size(), 3);
        for (const QString &part : {QStringLiteral("停名「Ü」"), QStringLiteral("整理券番号の値「x」"),
                                    QStringLiteral("1列目の値「70000」")}) {
            QVERIFY2(line8.filter(part).size() == 1, qPrintable(line8.join('\n')));
        }
        const FareCsvContents commas = FareCsv::parse("a,1" + QByteArray(100000, ','));
        QVERIFY2(commas.errors.at(0).reason.contains(QStringLiteral("100000列")), qPrintable(commas.errors[0].reason));
    }

    void saysWhenTheFileIsNotUtf8()
    {
        const FareCsvContents shiftJis = FareCsv::parse("# stops\n" + Cp932::encode(QStringLiteral("駅前,1\nｶﾅ町,2\n")));
        QCOMPARE(shiftJis.errors.size(), size_t(1));
        QCOMPARE(shiftJis.errors[0].line, 2);
        QVERIFY2(shiftJis.errors[0].reason.contains(QStringLiteral("UTF-8 ではありません（シフトJIS のようです）")),
                 qPrintable(shiftJis.errors[0].reason));
        QVERIFY(shiftJis.records.empty());
        const FareCsvContents neither = FareCsv::parse("駅前,1\n\xFF\xFE,2\n");
        QCOMPARE(neither.errors.size(), size_t(1));
        QVERIFY(neither.errors[0].reason.contains(QStringLiteral("UTF-8 ではありません")));
        QVERIFY(!neither.errors[0].reason.contains(QStringLiteral("シフトJIS")));
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
