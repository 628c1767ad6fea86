#include "FareFiles.h"

#include "formats/Hy3File.h"

#include <QTest>

class tst_Hy3File : public QObject
{
    Q_OBJECT

private:
    // A two-stop file written byte by byte: 駅前 with ticket 1, then a stop
    // whose name is given as raw bytes.
    static QByteArray twoStops(const QByteArray &secondName)
    {
        QByteArray bytes = QByteArray::fromHex("0200" "0400" "8977914F" "0100");
        for (int c = 1; c <= 150; ++c) {
            bytes += char(c);
            bytes += char(0);
        }
        bytes += char(secondName.size());
        bytes += char(0);
        bytes += secondName;
        bytes += QByteArray::fromHex("FFFF"); // ticket number -1
        bytes += QByteArray(300, char(0xFF)); // every column -1
        return bytes;
    }

    static QByteArray countOnly(qint16 count)
    {
        QByteArray bytes(2, 0);
        bytes[0] = char(count & 0xFF);
        bytes[1] = char((count >> 8) & 0xFF);
        return bytes;
    }

private slots:
    void readsTheRecordsOfAFile()
    {
        // Bytes after the last record are ignored.
        const Hy3File::Contents contents = Hy3File::parse(twoStops("AB") + "trailing");
        QCOMPARE(contents.problem, Hy3File::Problem::None);
        QCOMPARE(contents.count, qint16(2));
        QCOMPARE(contents.records.size(), size_t(2));
        const StopRecord &first = contents.records[0];
        QCOMPARE(first.name, QStringLiteral("駅前"));
        QCOMPARE(first.ticketNumber, qint16(1));
        QCOMPARE(first.column(1), qint16(1));
        QCOMPARE(first.column(150), qint16(150));
        QCOMPARE(first.column(0), qint16(0));
        QCOMPARE(first.column(151), qint16(0));
        QCOMPARE(contents.records[1].name, QStringLiteral("AB"));
        QCOMPARE(contents.records[1].ticketNumber, qint16(-1));
        QCOMPARE(contents.records[1].column(98), qint16(-1));
    }

    void marksStopNameBytesThatAreNotCp932()
    {
        // A lone lead byte before an ASCII byte, a byte CP932 does not use
        // and a lead byte cut off at the end of the name.
        QCOMPARE(Hy3File::parse(twoStops("\x81" "5A\xFF" "B\x89")).records[1].name, QStringLiteral("?5A?B?"));
        // An extension character (﨑) reads as itself.
        QCOMPARE(Hy3File::parse(twoStops("\xFA\xB1")).records[1].name, QStringLiteral("﨑"));
    }

    void refusesCountsItCannotUse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Hy3File::Problem>("problem");
        QTest::newRow("empty file") << QByteArray() << Hy3File::Problem::NoCount;
        QTest::newRow("one byte") << QByteArray(1, 2) << Hy3File::Problem::NoCount;
        QTest::newRow("zero") << countOnly(0) << Hy3File::Problem::ZeroCount;
        QTest::newRow("negative") << countOnly(-1) << Hy3File::Problem::NegativeCount;
        QTest::newRow("-32767") << countOnly(-32767) << Hy3File::Problem::NegativeCount;
        QTest::newRow("-32768") << countOnly(-32768) << Hy3File::Problem::InvalidCount;
        QTest::newRow("302") << countOnly(302) << Hy3File::Problem::TooManyRecords;
        QTest::newRow("32767") << countOnly(32767) << Hy3File::Problem::TooManyRecords;
    }
    void refusesCountsItCannotUse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Hy3File::Problem, problem);
        const Hy3File::Contents contents = Hy3File::parse(bytes);
        QCOMPARE(contents.problem, problem);
        QVERIFY(contents.records.empty());
        QVERIFY(!Hy3File::problemText(contents).isEmpty());
    }

    void readsTheLargestFile()
    {
        const Hy3File::Contents contents = Hy3File::parse(*Hy3File::serialize(FareFiles::stops(301)));
        QCOMPARE(contents.problem, Hy3File::Problem::None);
        QCOMPARE(contents.records.size(), size_t(301));
        QCOMPARE(contents.records[300], FareFiles::stop(301));
    }

    void namesTheRecordThatIsCutShort_data()
    {
        QTest::addColumn<int>("keep");
        QTest::addColumn<int>("record");
        QTest::addColumn<bool>("inName");
        const int first = 2 + 2 + 4 + 2 + 300;
        QTest::newRow("count only, records missing") << 2 << 1 << false;
        QTest::newRow("first name cut") << 5 << 1 << true;
        QTest::newRow("first record's columns cut") << first - 1 << 1 << false;
        QTest::newRow("second record missing") << first << 2 << false;
        QTest::newRow("second name runs past the end") << first + 3 << 2 << true;
        QTest::newRow("one byte short") << first + 2 + 2 + 2 + 299 << 2 << false;
    }
    void namesTheRecordThatIsCutShort()
    {
        QFETCH(int, keep);
        QFETCH(int, record);
        QFETCH(bool, inName);
        const Hy3File::Contents contents = Hy3File::parse(twoStops("AB").left(keep));
        QCOMPARE(contents.problem, Hy3File::Problem::RecordCut);
        QCOMPARE(contents.cutRecord, record);
        QCOMPARE(contents.cutInName, inName);
        QVERIFY(contents.records.empty());
        QVERIFY(Hy3File::problemText(contents).contains(QStringLiteral("%1件目").arg(record)));
    }

    void writesWhatItReads()
    {
        std::vector<StopRecord> records = FareFiles::stops(3);
        records[1].name = QStringLiteral("山﨑三丁目（ひがし）");
        records[2].name.clear();
        records[2].columns.fill(-32768);
        const std::optional<QByteArray> bytes = Hy3File::serialize(records);
        QVERIFY(bytes);
        QCOMPARE(bytes->left(2), QByteArray::fromHex("0300"));
        QCOMPARE(Hy3File::parse(*bytes).records, records);
    }

    void refusesWhatAFileCannotHold()
    {
        std::vector<StopRecord> records = FareFiles::stops(1);
        records[0].name = QStringLiteral("Ünïcode 😀");
        QVERIFY(!Hy3File::serialize(records));
        QVERIFY(!Hy3File::serialize(FareFiles::stops(302)));
        QVERIFY(Hy3File::serialize({}));
    }
};

QTEST_GUILESS_MAIN(tst_Hy3File)
#include "tst_Hy3File.moc"
