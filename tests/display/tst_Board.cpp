#include "display/BoardLayout.h"
#include "display/TicketNumbering.h"

#include <QTest>

class tst_Board : public QObject
{
    Q_OBJECT

private slots:
    void geometryOfPositions();
    void twipsRoundToEven();
    void numberTexts();
    void numberingStyles_data();
    void numberingStyles();
};

void tst_Board::geometryOfPositions()
{
    using namespace BoardLayout;
    QCOMPARE(WindowSize, QSize(921, 307));
    QCOMPARE(rowOf(14), 1);
    QCOMPARE(rowOf(15), 2);
    QCOMPARE(columnOf(15), 1);
    QCOMPARE(columnOf(98), 14);
    QCOMPARE(cellRect(1), QRect(95, 40, 52, 20));
    QCOMPARE(labelRect(1), QRect(95, 25, 52, 16));
    // Column 5 has its label 15 twips left of its cell.
    QCOMPARE(labelRect(5), QRect(325, 25, 52, 16));
    QCOMPARE(cellRect(5), QRect(326, 40, 52, 20));
    QCOMPARE(cellRect(98), QRect(843, 263, 52, 20));
    QCOMPARE(labelRect(85), QRect(95, 248, 52, 16));
    QCOMPARE(stopNameRect(), QRect(32, 59, 35, 192));
    // Every label sits above its cell, and no two cells overlap.
    for (int n = 1; n <= Positions; ++n) {
        QVERIFY(labelRect(n).top() < cellRect(n).top());
        for (int m = n + 1; m <= Positions; ++m) {
            QVERIFY(!cellRect(n).intersects(cellRect(m)));
        }
    }
}

void tst_Board::twipsRoundToEven()
{
    QCOMPARE(BoardLayout::roundTwips(1234.5), 1234);
    QCOMPARE(BoardLayout::roundTwips(1235.5), 1236);
    QCOMPARE(BoardLayout::roundTwips(-0.5), 0);
    QCOMPARE(BoardLayout::roundTwips(1234.6), 1235);
}

void tst_Board::numberTexts()
{
    using TicketNumbering::numberText;
    QCOMPARE(numberText(1, false), QStringLiteral("１"));
    QCOMPARE(numberText(10, false), QStringLiteral("１０"));
    QCOMPARE(numberText(1, true), QStringLiteral("０１"));
    QCOMPARE(numberText(12, true), QStringLiteral("１２"));
    QCOMPARE(numberText(0, false), QStringLiteral("０"));
}

void tst_Board::numberingStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("last");

    QTest::newRow("0") << 0 << "" << "１" << "２" << "９８";
    QTest::newRow("1") << 1 << "" << "０" << "１" << "９７";
    QTest::newRow("2") << 2 << "な し" << "" << "１" << "９７";
    QTest::newRow("3") << 3 << "な し" << "" << "２" << "９８";
    QTest::newRow("4") << 4 << "無 券" << "" << "１" << "９７";
    QTest::newRow("7") << 7 << "券なし" << "" << "２" << "９８";
    QTest::newRow("8") << 8 << "券無し" << "" << "１" << "９７";
    QTest::newRow("10") << 10 << "" << "" << "１" << "９７";
    QTest::newRow("11") << 11 << "" << "" << "２" << "９８";
    QTest::newRow("12") << 12 << "" << "" << "" << "";
    QTest::newRow("-1") << -1 << "" << "" << "" << "";
}

void tst_Board::numberingStyles()
{
    QFETCH(int, style);
    QFETCH(QString, word);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, last);

    QCOMPARE(TicketNumbering::positionOneWord(style), word);
    const QMap<int, QString> labels = TicketNumbering::numberedLabels(style, false);
    QCOMPARE(labels.value(1), first);
    QCOMPARE(labels.value(2), second);
    QCOMPARE(labels.value(98), last);
    QCOMPARE(labels.contains(1), style == 0 || style == 1);
}

QTEST_APPLESS_MAIN(tst_Board)
#include "tst_Board.moc"
