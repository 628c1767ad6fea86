// Measures the display window: start-up until the windows are shown, and one
// fare update (a value into each of the 98 cells) followed by one paint.
// Targets: start-up under 500 ms, a fare update under 2 ms.

#include "FakeCompanion.h"
#include "controls/M_Degit.h"
#include "display/Form1.h"
#include "display/JapaneseFonts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QElapsedTimer startUp;
    startUp.start();
    QApplication app(argc, argv);
    JapaneseFonts::installSubstitutions();
    FakeCompanion companion;
    PlatformServices services;
    services.companion = &companion;
    Form1 display(services);
    display.Form_Load();
    QApplication::processEvents();
    const double startUpMs = startUp.nsecsElapsed() / 1e6;

    QImage target(display.size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> updates;
    std::vector<double> valuesOnly;
    for (int round = 0; round < 200; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int n = 1; n <= 98; ++n) {
            display.Degit(n)->setValue(150 + 10 * ((n + round) % 40));
        }
        valuesOnly.push_back(timer.nsecsElapsed() / 1e6);
        QPainter painter(&target);
        display.render(&painter);
        painter.end();
        updates.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(updates.begin(), updates.end());
    std::sort(valuesOnly.begin(), valuesOnly.end());
    std::printf("98 fare values alone: median %.2f ms\n", valuesOnly[valuesOnly.size() / 2]);
    const double median = updates[updates.size() / 2];
    std::printf("start-up to windows shown: %.1f ms (target < 500)\n", startUpMs);
    std::printf("98 fare values + one paint: median %.2f ms, worst %.2f ms (target <= 2)\n", median,
                updates.back());
    return 0;
}
