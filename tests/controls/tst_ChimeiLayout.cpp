#include "controls/ChimeiLayout.h"

#include <QTest>

class tst_ChimeiLayout : public QObject
{
    Q_OBJECT

private slots:
    void cellTops_data();
    void cellTops();
    void cellsFollowBytesNotCharacters_data();
    void cellsFollowBytesNotCharacters();
};

void tst_ChimeiLayout::cellTops_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("tops");
    QTest::addColumn<int>("stripHeight");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("one half-width") << QStringLiteral("A") << 2 << QList<int>{0} << 192 << false;
    QTest::newRow("1") << QStringLiteral("駅") << 2 << QList<int>{80} << 192 << false;
    QTest::newRow("2, mode 2") << QStringLiteral("駅前") << 2 << QList<int>{48, 112} << 192 << false;
    QTest::newRow("2, mode 1") << QStringLiteral("駅前") << 1 << QList<int>{32, 128} << 192 << false;
    QTest::newRow("3, mode 1") << QStringLiteral("駅前口") << 1 << QList<int>{16, 80, 144} << 192 << false;
    QTest::newRow("4") << QStringLiteral("ＪＲ駅前") << 2 << QList<int>{8, 56, 104, 152} << 192 << false;
    QTest::newRow("5") << QStringLiteral("市民病院前") << 2 << QList<int>{4, 42, 80, 118, 156} << 192 << false;
    QTest::newRow("6") << QStringLiteral("市立病院北口") << 2 << QList<int>{0, 32, 64, 96, 128, 160} << 192 << false;
    QTest::newRow("7") << QStringLiteral("市立総合病院前") << 2 << QList<int>{0, 32, 64, 96, 128, 160, 192} << 224
                       << true;
}

void tst_ChimeiLayout::cellTops()
{
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(QList<int>, tops);
    QFETCH(int, stripHeight);
    QFETCH(bool, scrolls);
    const ChimeiLayout layout(text, mode);
    QList<int> actual;
    for (const ChimeiLayout::Cell &cell : layout.cells()) {
        actual << cell.top;
    }
    QCOMPARE(actual, tops);
    QCOMPARE(layout.stripHeight(), stripHeight);
    QCOMPARE(layout.scrolls(), scrolls);
}

void tst_ChimeiLayout::cellsFollowBytesNotCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QList<int>>("tops");
    // "A" then the two bytes 0x89 0x77 of 駅: the first cell ends on the
    // lead byte, which is dropped; the second reads the trail byte 'w'.
    QTest::newRow("half then full") << QStringLiteral("A駅") << QStringList{"A", "w"} << QList<int>{80, 80};
    // Three bytes are one whole cell: both pieces go to the centre.
    QTest::newRow("three half-width") << QStringLiteral("ABC") << QStringList{"AB", "C"} << QList<int>{80, 80};
    QTest::newRow("half-width kana") << QStringLiteral("ｴｷﾏｴ") << QStringList{"ｴｷ", "ﾏｴ"} << QList<int>{48, 112};
    QTest::newRow("empty") << QString() << QStringList{} << QList<int>{};
}

void tst_ChimeiLayout::cellsFollowBytesNotCharacters()
{
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    QFETCH(QList<int>, tops);
    const ChimeiLayout layout(text, 2);
    QStringList actualPieces;
    QList<int> actualTops;
    for (const ChimeiLayout::Cell &cell : layout.cells()) {
        actualPieces << cell.piece;
        actualTops << cell.top;
    }
    QCOMPARE(actualPieces, pieces);
    QCOMPARE(actualTops, tops);
}

QTEST_GUILESS_MAIN(tst_ChimeiLayout)
#include "tst_ChimeiLayout.moc"
