#include "DegitReader.h"

#include "FakeCompanion.h"
#include "controls/M_Degit.h"
#include "controls/PropertyBag.h"

#include <QSignalSpy>
#include <QTest>

class tst_M_Degit : public QObject
{
    Q_OBJECT

private slots:
    void showsValuesRightAligned_data();
    void showsValuesRightAligned();
    void zeroModes_data();
    void zeroModes();
    void assignmentRulesCorrectOutOfRangeValues();
    void sizeFollowsKetaAndDegitSize();
    void formatPropertiesWaitForTheNextRedraw();
    void resetDegitLightsAllOrNoneAndKeepsFormat();
    void litAndUnlitColours();
    void everyLookDrawsDistinctDigits();
    void showSetDlgTakesDialogValuesAsTheyCome();
    void propertiesRoundTripThroughTheStore();
    void doubleClickRaisesDblClick();
};

void tst_M_Degit::showsValuesRightAligned_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("fillZero");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("shown");

    QTest::newRow("210") << QVariant(210) << 0 << 0 << " 210";
    QTest::newRow("fill 3 of 5") << QVariant(5) << 3 << 0 << " 005";
    QTest::newRow("fill narrower than number") << QVariant(1234) << 2 << 0 << "1234";
    QTest::newRow("fill rounds fractions") << QVariant(2.5) << 2 << 0 << "  03";
    QTest::newRow("negative fill is no fill") << QVariant(7) << -2 << 0 << "   7";
    QTest::newRow("shift 1") << QVariant(210) << 0 << 1 << "210 ";
    QTest::newRow("shift 2 of 1234") << QVariant(1234) << 0 << 2 << "34  ";
    QTest::newRow("five digits in four") << QVariant(12345) << 0 << 0 << "2345";
    QTest::newRow("minus") << QVariant(-5) << 0 << 0 << "  -5";
    QTest::newRow("fraction") << QVariant(2.5) << 0 << 0 << " 2.5";
    QTest::newRow("numeric text is filled") << QVariant(QStringLiteral("12")) << 3 << 0 << " 012";
    QTest::newRow("plain text") << QVariant(QStringLiteral("1-2")) << 3 << 0 << " 1-2";
}

void tst_M_Degit::showsValuesRightAligned()
{
    QFETCH(QVariant, value);
    QFETCH(int, fillZero);
    QFETCH(int, shift);
    QFETCH(QString, shown);

    M_Degit cell;
    cell.setFillZero(fillZero);
    cell.setShift(shift);
    cell.setValue(value);
    QCOMPARE(readDegit(cell), shown);
}

void tst_M_Degit::zeroModes_data()
{
    QTest::addColumn<int>("zeroMode");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");

    const QVariant empty;
    const QVariant emptyText = QString();
    QTest::newRow("0: zero blank") << 0 << QVariant(0) << "    ";
    QTest::newRow("0: never assigned blank") << 0 << empty << "    ";
    QTest::newRow("0: text zero blank") << 0 << QVariant(QStringLiteral("00")) << "    ";
    QTest::newRow("0: minus one stays") << 0 << QVariant(-1) << "  -1";
    QTest::newRow("1: zero lit") << 1 << QVariant(0) << "   0";
    QTest::newRow("1: empty text lit zero") << 1 << emptyText << "   0";
    QTest::newRow("2: zero blank") << 2 << QVariant(0) << "    ";
    QTest::newRow("2: minus one is zero") << 2 << QVariant(-1) << "   0";
    QTest::newRow("3: minus one") << 3 << QVariant(-1) << "   0";
    QTest::newRow("3: zero") << 3 << QVariant(0) << "   0";
    QTest::newRow("3: empty text") << 3 << emptyText << "   0";
    QTest::newRow("3: never assigned") << 3 << empty << "   0";
    QTest::newRow("negative: no handling") << -1 << QVariant(0) << "   0";
}

void tst_M_Degit::zeroModes()
{
    QFETCH(int, zeroMode);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);

    M_Degit cell;
    cell.setZeroMode(zeroMode);
    cell.setValue(value);
    QCOMPARE(readDegit(cell), shown);
}

void tst_M_Degit::assignmentRulesCorrectOutOfRangeValues()
{
    M_Degit cell;
    cell.setKeta(20);
    QCOMPARE(cell.keta(), 4);
    cell.setKeta(0);
    QCOMPARE(cell.keta(), 4);
    cell.setFillZero(9);
    QCOMPARE(cell.fillZero(), 4);
    cell.setFillZero(-3);
    QCOMPARE(cell.fillZero(), -3);
    cell.setShift(5);
    QCOMPARE(cell.shift(), 3);
    cell.setShift(-2);
    QCOMPARE(cell.shift(), 0);
    cell.setZeroMode(7);
    QCOMPARE(cell.zeroMode(), 0);
    cell.setZeroMode(-4);
    QCOMPARE(cell.zeroMode(), -4);
    cell.setDegitSize(9);
    QCOMPARE(cell.degitSize(), 0);
    cell.setDegitSize(3);
    QCOMPARE(cell.degitSize(), 3);
    cell.setKeta(1);
    cell.setShift(1);
    QCOMPARE(cell.shift(), 0);
}

void tst_M_Degit::sizeFollowsKetaAndDegitSize()
{
    M_Degit cell;
    QCOMPARE(cell.size(), QSize(52, 20));
    cell.setKeta(2);
    cell.setDegitSize(1);
    // 510 x 390 twips
    QCOMPARE(cell.size(), QSize(34, 26));
    cell.setDegitSize(3);
    QCOMPARE(cell.size(), QSize(22, 15));
}

void tst_M_Degit::formatPropertiesWaitForTheNextRedraw()
{
    M_Degit cell;
    cell.setValue(0);
    QCOMPARE(readDegit(cell), "    ");
    cell.setZeroMode(1);
    QCOMPARE(readDegit(cell), "    ");
    cell.setDegitForeColor(0x00FF00);
    QCOMPARE(readDegit(cell), "   0");
}

void tst_M_Degit::resetDegitLightsAllOrNoneAndKeepsFormat()
{
    M_Degit cell;
    cell.setZeroMode(3);
    cell.setShift(1);
    cell.setFillZero(2);
    cell.ResetDegit(true);
    QCOMPARE(readDegit(cell), "8888");
    QCOMPARE(cell.zeroMode(), 3);
    QCOMPARE(cell.shift(), 1);
    QCOMPARE(cell.fillZero(), 2);
    cell.ResetDegit(false);
    QCOMPARE(readDegit(cell), "    ");
}

void tst_M_Degit::litAndUnlitColours()
{
    M_Degit cell;
    cell.setBackColor(0x000000);
    cell.setBaseForeColor(0x0000FF); // red, unlit
    cell.setDegitForeColor(0x00FF00); // green, lit
    cell.setValue(1);

    auto colours = [&](int position) {
        QSet<QRgb> seen;
        const QImage image = cell.picture().copy(position * 13, 0, 13, 20);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                seen.insert(image.pixel(x, y) & 0xFFFFFF);
            }
        }
        return seen;
    };
    QVERIFY(colours(0).contains(0xFF0000));
    QVERIFY(!colours(0).contains(0x00FF00));
    // The last position lights a 1 over the unlit 8: both colours appear.
    QVERIFY(colours(3).contains(0x00FF00));
    QVERIFY(colours(3).contains(0xFF0000));
}

void tst_M_Degit::everyLookDrawsDistinctDigits()
{
    for (int style : {0, 1, 2}) {
        M_Degit cell;
        cell.setKeta(10);
        cell.setDegitStyle(style);
        cell.setValue(QStringLiteral("0123456789"));
        QCOMPARE(readDegit(cell), QStringLiteral("0123456789"));
    }
    M_Degit a, b;
    b.setDegitStyle(1);
    a.setValue(8);
    b.setValue(8);
    QVERIFY(a.picture() != b.picture());
}

void tst_M_Degit::showSetDlgTakesDialogValuesAsTheyCome()
{
    FakeCompanion companion;
    companion.dlg100Result = 1;
    companion.dlg100ZeroMode = 9; // beyond what the assignment rules allow
    companion.dlg100Shift = 7;
    companion.dlg100FillZero = 2;
    M_Degit cell;
    cell.setCompanion(&companion);
    cell.setValue(5);
    QCOMPARE(cell.ShowSetDlg(), 1);
    QCOMPARE(companion.calls, QStringList{"Call_dlg100 keta=4 zm=0 sh=0 fz=0"});
    QCOMPARE(cell.zeroMode(), 9);
    QCOMPARE(cell.shift(), 7);
    QCOMPARE(cell.fillZero(), 2);

    companion.dlg100Result = 0;
    QCOMPARE(cell.ShowSetDlg(), 0);

    M_Degit alone;
    QCOMPARE(alone.ShowSetDlg(), 0);
}

void tst_M_Degit::propertiesRoundTripThroughTheStore()
{
    PropertyBag bag;
    M_Degit fresh;
    fresh.writeProperties(bag);
    QVERIFY(bag.values().isEmpty());

    M_Degit cell;
    QSignalSpy changed(&cell, &M_Degit::propertiesChanged);
    cell.setKeta(3);
    cell.setZeroMode(2);
    cell.setValue(QStringLiteral("12"));
    cell.setUserSet(false);
    cell.setBackColor(0x123456);
    QCOMPARE(changed.count(), 5);
    cell.writeProperties(bag);
    QCOMPARE(bag.values().size(), 5);

    M_Degit loaded;
    loaded.readProperties(bag);
    QCOMPARE(loaded.keta(), 3);
    QCOMPARE(loaded.zeroMode(), 2);
    QCOMPARE(loaded.value(), QVariant(QStringLiteral("12")));
    QCOMPARE(loaded.userSet(), false);
    QCOMPARE(loaded.backColor(), 0x123456u);
    QCOMPARE(loaded.degitForeColor(), M_Degit::DefaultDegitForeColor);

    // Loading stores values as they are, without the assignment rules.
    PropertyBag raw;
    raw.write("Keta", 40, 4);
    M_Degit unruled;
    unruled.readProperties(raw);
    QCOMPARE(unruled.keta(), 40);
}

void tst_M_Degit::doubleClickRaisesDblClick()
{
    M_Degit cell;
    QSignalSpy spy(&cell, &M_Degit::DblClick);
    QTest::mouseDClick(&cell, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(tst_M_Degit)
#include "tst_M_Degit.moc"
