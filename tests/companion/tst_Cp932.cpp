#include "formats/Cp932.h"

#include <QTest>

class tst_Cp932 : public QObject
{
    Q_OBJECT

private slots:
    void encodesAndDecodesWindowsShiftJis();
    void byteLengths();
    void byteRuns_data();
    void byteRuns();
    void firstCharCodes();
};

void tst_Cp932::encodesAndDecodesWindowsShiftJis()
{
    QCOMPARE(Cp932::encode(QStringLiteral("駅前")), QByteArray("\x89\x77\x91\x4F"));
    // The wave dash of Windows: 81 60 reads as the full-width tilde.
    QCOMPARE(Cp932::decode(QByteArray("\x81\x60")), QString(QChar(0xFF5E)));
    QCOMPARE(Cp932::encode(QString(QChar(0xFF5E))), QByteArray("\x81\x60"));
    QCOMPARE(Cp932::decode(QByteArray("\xB1\xB2")), QStringLiteral("ｱｲ"));
    QCOMPARE(Cp932::decode(QByteArray("\x87\x40")), QStringLiteral("①"));
    // Bytes that do not decode are dropped, not shown as control characters.
    QCOMPARE(Cp932::decode(QByteArray("A\xFF" "B\x81")), QStringLiteral("AB"));
}

void tst_Cp932::byteLengths()
{
    QCOMPARE(Cp932::LenB_ASCII(QString()), 0);
    QCOMPARE(Cp932::LenB_ASCII(QStringLiteral("駅前")), 4);
    QCOMPARE(Cp932::LenB_ASCII(QStringLiteral("A駅ｱ")), 4);
}

void tst_Cp932::byteRuns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("run");

    QTest::newRow("whole character") << "駅前" << 3 << 2 << "前";
    QTest::newRow("two half-width") << "ABC" << 1 << 2 << "AB";
    QTest::newRow("odd tail") << "ABC" << 3 << 2 << "C";
    // A run ending on a lead byte drops it; one starting on a trail byte reads
    // that byte alone (0x77 is "w").
    QTest::newRow("ends on lead byte") << "A駅" << 1 << 2 << "A";
    QTest::newRow("starts on trail byte") << "A駅" << 3 << 2 << "w";
    QTest::newRow("beyond the end") << "駅" << 5 << 2 << "";
    QTest::newRow("before the start") << "駅" << 0 << 2 << "";
    QTest::newRow("no bytes") << "駅" << 1 << 0 << "";
}

void tst_Cp932::byteRuns()
{
    QFETCH(QString, text);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QString, run);
    QCOMPARE(Cp932::MidB_ASCII(text, first, count), run);
}

void tst_Cp932::firstCharCodes()
{
    QCOMPARE(Cp932::firstCharCode(QStringLiteral("A")), qint16(0x41));
    QCOMPARE(Cp932::firstCharCode(QStringLiteral("ｱ")), qint16(0xB1));
    // 亜 (88 9F) is the first kanji: -30561 as a signed 16-bit number.
    QCOMPARE(Cp932::firstCharCode(QStringLiteral("亜駅")), qint16(-30561));
    QCOMPARE(Cp932::firstCharCode(QStringLiteral("０")), qint16(-32177));
    QCOMPARE(Cp932::firstCharCode(QString()), qint16(0));
}

QTEST_APPLESS_MAIN(tst_Cp932)
#include "tst_Cp932.moc"
