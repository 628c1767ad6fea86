// Measures the LCD look at 1920 x 1080: a whole repaint of the screen with a
// full page of fares, and a page change (the next page, what is reported to
// assistive technology, and the repaint). Targets (medians): a repaint under
// 8 ms, a page change under 16 ms. Exits non-zero when a target is missed.

#include "MedianTarget.h"
#include "lcd/LcdBoardContent.h"
#include "lcd/LcdBoardCycle.h"
#include "lcd/LcdBoardPainter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <vector>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    LcdBoardView view;
    view.hasRoute = true;
    view.route = QStringLiteral("35");
    view.destination = {{"ja", QStringLiteral("美杜岬展望台")}, {"en", QStringLiteral("Mimori-misaki Observatory")}};
    view.names = {{"ja", QStringLiteral("美杜港フェリーターミナル")},
                  {"kana", QStringLiteral("みもりこうふぇりーたーみなる")},
                  {"en", QStringLiteral("Mimori Port Ferry Terminal")}};
    view.stopRequested = true;
    for (int n = 1; n <= 98; ++n) {
        view.fares.append({QString::number(n), QString::number(170 + 10 * (n % 60))});
    }
    LcdBoardCycle cycle;
    cycle.setNames(view.names);
    cycle.setFareCount(int(view.fares.size()), true);
    const LcdBoardPainter painter;
    // What a window's backing store is on X11.
    QImage screen(LcdBoardPainter::Design, QImage::Format_RGB32);
    const QTime clock(12, 34);
    const auto paint = [&] {
        QPainter device(&screen);
        painter.paint(device, screen.rect(), view, cycle, clock);
    };
    // The fonts and glyphs of both languages made once, as a running screen has them.
    paint();
    cycle.nextLanguage();
    paint();
    cycle.nextLanguage();

    std::vector<double> repaints;
    std::vector<double> pageChanges;
    for (int round = 0; round < 120; ++round) {
        QElapsedTimer timer;
        timer.start();
        paint();
        repaints.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        cycle.nextPage();
        const QString said = LcdBoardContent::spokenFares(view, cycle);
        paint();
        pageChanges.push_back(timer.nsecsElapsed() / 1e6);
        if (said.isEmpty()) {
            return 1;
        }
        if (round % 10 == 9) {
            cycle.nextLanguage();
        }
    }
    const bool repainted = medianMeets("LCD full repaint at 1920 x 1080", repaints, 8);
    const bool paged = medianMeets("LCD page change at 1920 x 1080", pageChanges, 16);
    return repainted && paged ? 0 : 1;
}
