// Measures the fare core: route setting of a 301-stop fare data file (the
// read and the take-over, without the lamp test), and what the board shows at
// a stop, alone and with its 98 cells set and painted.
// Targets (medians): route setting under 5 ms; a board computed under 2 ms,
// and with its 98 cells set and painted under 2 ms.
// Exits non-zero when a target is missed.

#include "FakeCompanion.h"
#include "MedianTarget.h"
#include "controls/M_Degit.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "fare/FareBoard.h"
#include "fare/FareRoute.h"
#include "formats/Hy3File.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A route of 301 stops with long names and a fare in every column.
QByteArray largestFile()
{
    std::vector<StopRecord> records(Hy3File::MaxRecords);
    for (int n = 1; n <= Hy3File::MaxRecords; ++n) {
        StopRecord &record = records[static_cast<size_t>(n - 1)];
        record.name = QStringLiteral("美杜市民病院前%1丁目").arg(n);
        record.ticketNumber = static_cast<qint16>(n);
        for (int c = 1; c <= StopRecord::ColumnCount; ++c) {
            record.columns[static_cast<size_t>(c - 1)] = static_cast<qint16>(170 + 10 * ((n + c) % 80));
        }
    }
    return *Hy3File::serialize(records);
}

std::vector<double> timed(int rounds, const std::function<void(int)> &work)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work(round);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("301.hy3"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(largestFile()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();

    FareRoute route;
    const RouteRequest request = RouteSetting::request(QStringLiteral("00012"), QStringLiteral("1"));
    bool ok = medianMeets("route setting of 301 stops", timed(200, [&](int) { route.load(request, path); }), 5);

    FareDisplayOptions options;
    options.lateNight = true;
    options.infoRows[FareBoard::InfoTicketNumber] = {true, 98};
    const QDateTime now = QDateTime::currentDateTime();
    ok = medianMeets("board of one stop, computed",
                     timed(2000, [&](int round) { FareBoard::compute(route, 1 + round % 301, options, now); }), 2)
         && ok;

    JapaneseFonts::installSubstitutions();
    FakeCompanion companion;
    PlatformServices services;
    services.companion = &companion;
    Form1 display(services);
    display.Form_Load();
    QApplication::processEvents();
    QImage target(display.size(), QImage::Format_ARGB32_Premultiplied);
    ok = medianMeets("board of one stop, computed, set and painted", timed(200, [&](int round) {
               const StopView view = FareBoard::compute(route, 1 + round % 301, options, now);
               for (int a = 1; a <= StopView::CellCount; ++a) {
                   if (const auto *fare = std::get_if<qint32>(&view.cells[static_cast<size_t>(a)])) {
                       display.Degit(a)->setValue(*fare);
                   }
               }
               QPainter painter(&target);
               display.render(&painter);
           }),
           2)
         && ok;
    return ok ? 0 : 1;
}
