#include "controls/ScrollMotion.h"

#include <QTest>

namespace {

constexpr int FrameHeight = 192;
constexpr int SevenCells = 7 * 32;
constexpr int Wait = 1500;

} // namespace

class tst_ScrollMotion : public QObject
{
    Q_OBJECT

private slots:
    void waitsBelowTheFrameThenRisesBySpeed();
    void restartsOnceTheStripIsAFrameAboveThenPausesAgain();
    void restartWithoutPauseMovesOnAtOnce();
    void speedZeroFreezesAndNegativeSinksNoLowerThanTheStart();
    void positionDoesNotDependOnHowOftenItIsAsked();
};

void tst_ScrollMotion::waitsBelowTheFrameThenRisesBySpeed()
{
    ScrollMotion motion;
    motion.start(1000, FrameHeight, SevenCells, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight);
    QVERIFY(motion.isPausing(2499));
    QVERIFY(!motion.isPausing(2500));
    QCOMPARE(motion.pauseEndMs(), 2500);
    QVERIFY(!motion.startPauseEndsBy(2499));
    QVERIFY(motion.startPauseEndsBy(2500));

    motion.advanceTo(2400, 5, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight);
    // Speed 5 is 50 pixels a second.
    motion.advanceTo(3500, 5, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight - 50);
    QVERIFY(!motion.startPauseEndsBy(3500));
    // Speed is taken afresh for each stretch: 200 is one pixel a pass.
    motion.advanceTo(3510, 200, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight - 50 - 20);
}

void tst_ScrollMotion::restartsOnceTheStripIsAFrameAboveThenPausesAgain()
{
    ScrollMotion motion;
    motion.start(0, FrameHeight, SevenCells, 0);
    // At one pixel a pass the strip's bottom (top + 224) reaches -192 when
    // the top reaches -416, after 608 passes: 304 ms.
    motion.advanceTo(303, 200, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight - 606);
    motion.advanceTo(304, 200, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight);
    QVERIFY(motion.isPausing(304 + Wait - 1));
    motion.advanceTo(304 + Wait, 200, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight);
    motion.advanceTo(304 + Wait + 1, 200, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight - 2);
}

void tst_ScrollMotion::restartWithoutPauseMovesOnAtOnce()
{
    ScrollMotion motion;
    motion.start(0, FrameHeight, SevenCells, 0);
    motion.advanceTo(305, 200, 0);
    QCOMPARE(motion.stripTop(), FrameHeight - 2);
    QVERIFY(!motion.isPausing(305));
}

void tst_ScrollMotion::speedZeroFreezesAndNegativeSinksNoLowerThanTheStart()
{
    ScrollMotion motion;
    motion.start(0, FrameHeight, SevenCells, 0);
    motion.advanceTo(1000, 5, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight - 50);
    motion.advanceTo(60000, 0, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight - 50);
    motion.advanceTo(60500, -5, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight - 25);
    motion.advanceTo(70000, -5, Wait);
    QCOMPARE(motion.stripTop(), FrameHeight);
}

void tst_ScrollMotion::positionDoesNotDependOnHowOftenItIsAsked()
{
    // Speed 25 moves an exact 1/8 pixel a pass; over two minutes the strip
    // goes round many times with its pauses. A stalled event loop that asks
    // once must find the strip where frame-by-frame asking puts it.
    const qint64 end = Wait + 123457;
    ScrollMotion stalled;
    stalled.start(0, FrameHeight, SevenCells, Wait);
    stalled.advanceTo(end, 25, Wait);

    ScrollMotion smooth;
    smooth.start(0, FrameHeight, SevenCells, Wait);
    for (qint64 now = 0; now < end; now += 16) {
        smooth.advanceTo(now, 25, Wait);
    }
    smooth.advanceTo(end, 25, Wait);
    QCOMPARE(stalled.stripTop(), smooth.stripTop());
    QCOMPARE(stalled.isPausing(end), smooth.isPausing(end));
    QCOMPARE(stalled.pauseEndMs(), smooth.pauseEndMs());
}

QTEST_GUILESS_MAIN(tst_ScrollMotion)
#include "tst_ScrollMotion.moc"
