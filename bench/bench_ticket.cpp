// Measures drawing the ticket of one stop into the preview, as a data step
// does with the preview on: the description read from its file, checked and
// drawn with its NW-7 barcode. Target: under 2 ms, so that the step still
// paints within one frame (median). Exits non-zero when it is missed.

#include "MedianTarget.h"

#include "companion/PluginBridge.h"
#include "display/JapaneseFonts.h"

#include <QGuiApplication>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    JapaneseFonts::installSubstitutions();
    const QString plugin = QStringLiteral(TAVELO_SAMPLES_DIR "/full.4SP");
    QImage preview(220, 116, QImage::Format_RGB32);

    std::vector<double> draws;
    // The first round loads the fonts; it is reported apart.
    double firstMs = 0;
    for (int round = 0; round <= 300; ++round) {
        QElapsedTimer timer;
        timer.start();
        preview.fill(Qt::white);
        PluginBridge::Brix4_DrawSeiriken(plugin, &preview, QStringLiteral("県立中央病院前"),
                                         QStringLiteral("12-06-2026"), QStringLiteral("07:05:09"), 12,
                                         qint16(1 + round % 98), qint16(1 + round % 301), round % 3);
        (round == 0 ? firstMs : draws.emplace_back()) = timer.nsecsElapsed() / 1e6;
    }
    std::printf("first ticket, fonts loaded: %.2f ms\n", firstMs);
    return medianMeets("ticket with barcode into the preview", draws, 2) ? 0 : 1;
}
