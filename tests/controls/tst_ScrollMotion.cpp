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
    void restartWithoutPauseMovesOnAtOnce();
    void speedZeroFreezesAndNegativeSinksNoLowerThanTheStart();
    void positionDoesNotDependOnHowOftenItIsAsked();
};

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
