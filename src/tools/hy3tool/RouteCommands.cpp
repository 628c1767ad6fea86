#include "RouteCommands.h"

#include "app/FileReplacement.h"
#include "app/LogText.h"
#include "app/ToolConsole.h"
#include "controls/Dot16Glyphs.h"
#include "fare/RouteNumber.h"
#include "route/GtfsImport.h"
#include "route/GtfsRouteChoice.h"
#include "route/RouteBuilder.h"
#include "route/RouteFiles.h"
#include "route/ServiceTime.h"
#include "run/RouteDrive.h"

#include <QDir>
#include <QTimeZone>
#include <QFileInfo>

namespace RouteCommands {

namespace {

using enum ToolConsole::ExitCode;
using ToolConsole::err;
using ToolConsole::out;

std::optional<RouteSource> readSource(const QString &path)
{
    QString error;
    std::optional<RouteSource> source = RouteSource::readFile(path, error);
    if (!source) {
        err() << error << "\n";
    }
    return source;
}

int writeFiles(const RouteSource &source, const QList<QPair<QString, QString>> &readings, const QString &outDir,
               bool withSource, const QStringList &earlierWarnings)
{
    QString error;
    std::optional<RouteFiles::Output> output = RouteFiles::build(source, readings, outDir, withSource, error);
    for (const QString &warning : earlierWarnings) {
        err() << "警告: " << warning << "\n";
    }
    if (!output) {
        err() << error << "\n何も書きませんでした。\n";
        return FileRefused;
    }
    for (const QString &warning : output->warnings) {
        err() << "警告: " << warning << "\n";
    }
    if (!RouteFiles::write(*output, outDir, error)) {
        err() << error << "\n";
        return CannotRun;
    }
    for (const auto &file : output->files) {
        out() << QDir(outDir).filePath(file.first) << "\n";
    }
    for (const QString &change : output->changes) {
        out() << change << "\n";
    }
    out() << source.stops.size() << " 件の停留所を書きました。\n";
    return Success;
}

} // namespace

int listRoutes(const QString &feedPath)
{
    QString error;
    const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(feedPath, error);
    const std::optional<std::vector<GtfsRouteChoice>> routes = feed ? GtfsRouteChoice::list(*feed, error) : std::nullopt;
    if (!routes) {
        err() << (feed ? feedPath + QStringLiteral(": ") : QString()) << error << "\n";
        return FileRefused;
    }
    // route_id, short name, long name, trips; then for each direction its
    // id, headsigns, first -> last stop, stops and trips; tab-separated.
    for (const GtfsRouteChoice &route : *routes) {
        out() << LogText::escaped(route.routeId) << '\t' << LogText::escaped(route.shortName) << '\t' << LogText::escaped(route.longName) << '\t'
              << route.trips << " 便\n";
        for (const GtfsRouteChoice::Direction &direction : route.directions) {
            out() << "\t方向 " << (direction.id ? QString::number(*direction.id) : QStringLiteral("-")) << '\t'
                  << LogText::escaped(direction.headsigns.join(QStringLiteral("、"))) << '\t'
                  << (direction.stops > 0 ? LogText::escaped(direction.firstStop) + QStringLiteral(" → ") + LogText::escaped(direction.lastStop)
                                          : QStringLiteral("stop_times.txt に停留所がありません"))
                  << '\t' << direction.stops << " 停留所\t" << direction.trips << " 便\n";
        }
    }
    return Success;
}

int importGtfs(const ImportArguments &arguments)
{
    GtfsImport::Request request;
    request.routeId = arguments.routeId;
    request.tripId = arguments.tripId;
    if (arguments.routeId.isEmpty()) {
        err() << "hy3tool import-gtfs: --route ROUTE_ID が必要です。\n";
        return CannotRun;
    }
    const std::optional<RouteNumber> number = RouteNumber::parse(arguments.number);
    if (!number) {
        err() << "hy3tool import-gtfs: --number には 1～5 桁の系統番号が必要です（「" << arguments.number << "」）。\n";
        return CannotRun;
    }
    request.routeNumber = number->text();
    if (!arguments.direction.isEmpty()) {
        if (arguments.direction != QLatin1String("0") && arguments.direction != QLatin1String("1")) {
            err() << "hy3tool import-gtfs: --direction は 0 か 1 です（「" << arguments.direction << "」）。\n";
            return CannotRun;
        }
        request.direction = arguments.direction.toInt();
    }
    if (arguments.tickets.isEmpty() || arguments.tickets == QLatin1String("auto")) {
        request.tickets = GtfsImport::Tickets::Automatic;
    } else if (arguments.tickets == QLatin1String("stage")) {
        request.tickets = GtfsImport::Tickets::ByStage;
    } else if (arguments.tickets == QLatin1String("stop")) {
        request.tickets = GtfsImport::Tickets::ByStop;
    } else {
        err() << "hy3tool import-gtfs: --tickets は auto、stage か stop です（「" << arguments.tickets << "」）。\n";
        return CannotRun;
    }
    if (arguments.names.isEmpty() || arguments.names == QLatin1String("station")) {
        request.names = GtfsImport::Names::Station;
    } else if (arguments.names == QLatin1String("stop")) {
        request.names = GtfsImport::Names::Platform;
    } else {
        err() << "hy3tool import-gtfs: --names は station か stop です（「" << arguments.names << "」）。\n";
        return CannotRun;
    }
    const QString outDir = arguments.outDir.isEmpty() ? QDir::currentPath() : arguments.outDir;
    const QFileInfo outInfo(outDir);
    if (outInfo.exists() && !outInfo.isDir()) {
        err() << outDir << ": フォルダではありません。\n";
        return CannotRun;
    }
    QString error;
    const std::unique_ptr<GtfsFeed> feed = GtfsFeed::open(arguments.feed, error);
    if (!feed) {
        err() << error << "\n";
        return FileRefused;
    }
    const std::optional<GtfsImport::Result> result = GtfsImport::run(*feed, request, error);
    if (!result) {
        err() << arguments.feed << ": " << error << "\n何も書きませんでした。\n";
        return FileRefused;
    }
    // The folder is made once there is something to write in it.
    if (!outInfo.exists() && !QDir().mkpath(outDir)) {
        err() << outDir << ": フォルダを作れません。\n";
        return CannotRun;
    }
    return writeFiles(result->source, result->readings, outDir, true, result->warnings);
}

int buildRoute(const QString &sourcePath, const QString &outDir)
{
    const std::optional<RouteSource> source = readSource(sourcePath);
    if (!source) {
        return FileRefused;
    }
    const QString dir = outDir.isEmpty() ? QFileInfo(sourcePath).absolutePath() : outDir;
    return writeFiles(*source, RouteFiles::sourceReadings(*source), dir, false, {});
}

int checkRoute(const QString &sourcePath)
{
    const std::optional<RouteSource> source = readSource(sourcePath);
    if (!source) {
        return FileRefused;
    }
    const RouteBuilder builder(*source);
    Dot16Glyphs glyphs;
    const std::vector<RouteProblem> problems = builder.check([&glyphs](char32_t c) { return glyphs.canDraw(c); });
    for (const RouteProblem &problem : problems) {
        err() << sourcePath << ": " << (problem.severity == RouteProblem::Severity::Refusal ? "作れません: " : "警告: ")
              << problem.describe(source->stops) << "\n";
    }
    if (RouteBuilder::refuses(problems)) {
        return FileRefused;
    }
    // What only building finds (an announcement CP932 cannot write, a file
    // larger than the display reads) is said as the build would say it.
    QString error;
    if (!RouteFiles::build(*source, RouteFiles::sourceReadings(*source), QFileInfo(sourcePath).absolutePath(), false,
                           error)) {
        err() << sourcePath << ": 作れません: " << error << "\n";
        return FileRefused;
    }
    out() << sourcePath << ": " << source->stops.size() << " 件の停留所、警告 " << problems.size() << " 件。\n";
    return Success;
}


int listTrips(const QString &sourcePath)
{
    const std::optional<RouteSource> source = readSource(sourcePath);
    if (!source) {
        return FileRefused;
    }
    const auto shown = [](const std::optional<int> &time) {
        return time ? ServiceTime::format(*time) : QStringLiteral("-");
    };
    for (const RouteTrip &trip : source->trips) {
        std::optional<int> first;
        std::optional<int> last;
        for (const StopTime &time : trip.times) {
            if (!first) {
                first = time.departure ? time.departure : time.arrival;
            }
            if (time.arrival || time.departure) {
                last = time.arrival ? time.arrival : time.departure;
            }
        }
        out() << LogText::escaped(trip.id) << '\t' << LogText::escaped(trip.headsign) << '\t' << shown(first) << '\t'
              << shown(last) << "\n";
    }
    return Success;
}

int writeTrack(const QString &sourcePath, const QString &outPath, const QString &tripId)
{
    const std::optional<RouteSource> source = readSource(sourcePath);
    if (!source) {
        return FileRefused;
    }
    const RouteTrip *trip = nullptr;
    for (const RouteTrip &candidate : source->trips) {
        if (tripId.isEmpty() || candidate.id == tripId) {
            trip = &candidate;
            break;
        }
    }
    if (!tripId.isEmpty() && !trip) {
        err() << sourcePath << ": 便「" << LogText::escaped(tripId) << "」がありません。\n";
        return FileRefused;
    }
    int firstSecond = 0;
    QString error;
    const std::optional<TrackFile> track = RouteDrive::make(*source, trip, firstSecond, error);
    if (!track) {
        err() << sourcePath << ": " << error << "\n";
        return FileRefused;
    }
    // The times of day are the trip's, on a day of no meaning, in Japan's time.
    const QDateTime start = QDateTime(QDate(2000, 1, 1), QTime(0, 0), QTimeZone(9 * 3600)).addSecs(firstSecond);
    const QString name = trip ? trip->id : source->route;
    if (!FileReplacement::write(outPath, track->toGpx(name, start), &error)) {
        err() << error << "\n";
        return CannotRun;
    }
    out() << outPath << ": " << track->points.size() << " 点、" << ServiceTime::format(firstSecond) << " から "
          << ServiceTime::format(firstSecond + int(track->points.back().timeMs / 1000)) << " まで"
          << (trip ? QStringLiteral("（便 %1）").arg(LogText::escaped(trip->id)) : QStringLiteral("（時速 18 km）"))
          << "\n";
    return Success;
}

} // namespace RouteCommands
