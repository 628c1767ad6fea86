#include "fare/KeypadEntry.h"

#include <QTest>

// The keypad's two displays, their limits and which one the digits go to.
class tst_KeypadEntry : public QObject
{
    Q_OBJECT

private slots:
    void digitsGoToTheSectionUntilTheRouteKey()
    {
        KeypadEntry keypad;
        keypad.press(1);
        QVERIFY(!keypad.keyTarget());
        QCOMPARE(keypad.sectionText(), QStringLiteral("1"));
        QCOMPARE(keypad.routeText(), QString());
    }

    void fullDisplaysIgnoreFurtherDigits()
    {
        KeypadEntry keypad;
        keypad.press(KeypadEntry::RouteKey);
        for (int digit : {0, 0, 1, 2, 3, 4}) {
            keypad.press(digit);
        }
        QCOMPARE(keypad.routeText(), QStringLiteral("00123"));
        keypad.press(KeypadEntry::SectionKey);
        for (int digit : {9, 8, 7, 6}) {
            keypad.press(digit);
        }
        QCOMPARE(keypad.sectionText(), QStringLiteral("987"));
        QCOMPARE(keypad.routeText(), QStringLiteral("00123")); // the other display stays
    }

    void targetKeysClearOnlyTheirOwnDisplay()
    {
        KeypadEntry keypad;
        keypad.press(KeypadEntry::RouteKey);
        keypad.press(5);
        keypad.press(KeypadEntry::SectionKey);
        keypad.press(2);
        keypad.press(KeypadEntry::RouteKey);
        QCOMPARE(keypad.routeText(), QString());
        QCOMPARE(keypad.sectionText(), QStringLiteral("2"));
        keypad.press(12); // no such key
        QCOMPARE(keypad.routeText(), QString());
    }
};

QTEST_GUILESS_MAIN(tst_KeypadEntry)
#include "tst_KeypadEntry.moc"
