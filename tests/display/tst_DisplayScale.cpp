#include "display/DisplayScale.h"
#include "display/WindowPlacement.h"

#include <QTest>

using namespace DisplayScale;

class tst_DisplayScale : public QObject
{
    Q_OBJECT

private slots:
    void stepsGoToTheNeighbourAndStopAtTheEnds();
    void windowAndChildrenScaleWithoutGaps();
    void boardFitsCentredAtItsAspectRatio();
    void fullScreenFallsBackToTheFirstMonitor();
    void styleSheetLengthsScaleAndHairlinesStay();
    void onlyScalesThatFitAreOfferedAndThePanelIsMovedAside();
};

void tst_DisplayScale::stepsGoToTheNeighbourAndStopAtTheEnds()
{
    QCOMPARE(stepUp(100), 125);
    QCOMPARE(stepUp(150), 200);
    QCOMPARE(stepUp(300), 300);
    QCOMPARE(stepDown(100), 100);
    QCOMPARE(stepDown(250), 200);
    // Between steps: to the neighbouring step, not two away.
    QCOMPARE(stepUp(110), 125);
    QCOMPARE(stepDown(110), 100);
    QVERIFY(!isStep(110));
}

void tst_DisplayScale::windowAndChildrenScaleWithoutGaps()
{
    QCOMPARE(windowSize(100), QSize(921, 307));
    QCOMPARE(windowSize(125), QSize(1151, 384));
    QCOMPARE(windowSize(300), QSize(2763, 921));
    // Two design rectangles side by side stay side by side at 125 %.
    const QRect left = mapped(QRect(0, 0, 13, 20), 1.25);
    const QRect right = mapped(QRect(13, 0, 13, 20), 1.25);
    QCOMPARE(left.right() + 1, right.left());
    QCOMPARE(mapped(QRect(10, 10, 4, 4), 2.0, QPoint(5, 7)), QRect(25, 27, 8, 8));
}

void tst_DisplayScale::boardFitsCentredAtItsAspectRatio()
{
    // A wide screen: the height limits, black bars left and right.
    const Fit tv = fitInto(QSize(3840, 2160));
    QCOMPARE(tv.board.width(), 3840);
    QCOMPARE(tv.board.height(), 1280);
    QCOMPARE(tv.board.top(), (2160 - 1280) / 2);
    QCOMPARE(tv.scale, 3840 / 921.0);
    // A very wide one: the height limits and the board is centred across.
    const Fit strip = fitInto(QSize(4000, 614));
    QCOMPARE(strip.board.size(), QSize(1842, 614));
    QCOMPARE(strip.board.left(), (4000 - 1842) / 2);
}

void tst_DisplayScale::fullScreenFallsBackToTheFirstMonitor()
{
    QCOMPARE(fullScreenIndex(2, 2), 1);
    QCOMPARE(fullScreenIndex(2, 3), 0);
    QCOMPARE(fullScreenIndex(2, 0), 0);
    QCOMPARE(fullScreenIndex(0, 1), -1);
}

void tst_DisplayScale::styleSheetLengthsScaleAndHairlinesStay()
{
    const QString design = QStringLiteral("QLabel { border: 1px solid #505050; padding: 0px 3px; height: 12.5px; }");
    QCOMPARE(scaledStyleSheet(design, 1.5),
             QStringLiteral("QLabel { border: 2px solid #505050; padding: 0px 5px; height: 19px; }"));
    // A hairline below half a pixel would round away; zero stays zero.
    QCOMPARE(scaledStyleSheet(QStringLiteral("border: 1px; width: 0px;"), 0.4), QStringLiteral("border: 1px; width: 0px;"));
}

void tst_DisplayScale::onlyScalesThatFitAreOfferedAndThePanelIsMovedAside()
{
    // A 1920 x 1080 screen less a task bar takes 200 % (1842 x 614), not
    // 250 % (2303 wide); a 1280 x 800 one 125 % (1151 x 384), not 150 %.
    QCOMPARE(fittingSteps(QSize(1920, 1050)), (QList<int>{100, 125, 150, 200}));
    QCOMPARE(fittingSteps(QSize(1280, 800)), (QList<int>{100, 125}));
    QCOMPARE(fittingSteps(windowSize(150)), (QList<int>{100, 125, 150}));
    QCOMPARE(fittingSteps(QSize(3840, 2160)), (QList<int>{100, 125, 150, 200, 250, 300}));
    // Nothing smaller exists: a small screen still gets 100 %.
    QCOMPARE(fittingSteps(QSize(800, 600)), QList<int>{100});

    using WindowPlacement::uncoveredPlace;
    const QRect screen(0, 0, 1920, 1050);
    const QRect display(QPoint(0, 0), windowSize(200));
    // The panel reached under the grown display: just below it, same column.
    QCOMPARE(uncoveredPlace(QRect(1500, 500, 360, 240), display, screen), QPoint(1500, 614));
    // One the display does not reach stays where the user put it.
    QCOMPARE(uncoveredPlace(QRect(1500, 700, 360, 240), display, screen), QPoint(1500, 700));
    // The nearest free side: right of a 100 % display rather than below it.
    QCOMPARE(uncoveredPlace(QRect(800, 100, 360, 240), QRect(QPoint(0, 0), windowSize(100)), screen), QPoint(921, 100));
    // No room below (436 px left) nor beside the display: no place.
    QCOMPARE(uncoveredPlace(QRect(100, 100, 700, 500), display, screen), std::nullopt);
    // On 1280 x 800 a panel under the 125 % display's right end goes below
    // it, pulled left onto the screen.
    QCOMPARE(uncoveredPlace(QRect(1000, 300, 360, 240), QRect(QPoint(0, 0), windowSize(125)), QRect(0, 0, 1280, 800)),
             QPoint(920, 384));
}

QTEST_APPLESS_MAIN(tst_DisplayScale)
#include "tst_DisplayScale.moc"
