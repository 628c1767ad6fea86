// hy3tool: a companion for people who make fare data files (*.hy3).
//   hy3tool dump FILE.hy3            the file as CSV (UTF-8) on standard output
//   hy3tool build FILE.csv OUT.hy3   the fare data file of a CSV
//   hy3tool check FILE.hy3           what the program would refuse, and why
//   hy3tool check ROUTE.route.json   what is wrong with a route source
//   hy3tool build-route ROUTE.route.json [--out DIR]
//                                    a route's .hy3, tp.csv and readings from its source
//   hy3tool trips ROUTE.route.json   the trips of a route source, with their first and last times
//   hy3tool track ROUTE.route.json OUT.gpx [--trip TRIP_ID]
//                                    a GPX drive along the route's stops, to replay as a GPS
//   hy3tool routes FEED              the routes of a GTFS / GTFS-JP feed (.zip or folder)
//   hy3tool import-gtfs FEED --route ROUTE_ID --number N [--direction 0|1]
//                       [--trip TRIP_ID] [--tickets auto|stage|stop]
//                       [--names station|stop] [--out DIR]
//                                    a route of a GTFS / GTFS-JP feed
// The CSV holds one stop to a line: stop name, ticket number, columns 1..150.

#include "app/FileReplacement.h"
#include "app/ProgramCommandLine.h"
#include "app/ToolConsole.h"
#include "app/WholeFile.h"
#include "formats/FareCsv.h"
#include "formats/Hy3File.h"
#include "RouteCommands.h"
#include "route/RouteBuilder.h"
#include "route/RouteSource.h"

#include <QCoreApplication>
#include <QTextStream>

#include <optional>
#include <set>

namespace {

using enum ToolConsole::ExitCode;
using ToolConsole::err;
using ToolConsole::out;

QString usageText()
{
    return QStringLiteral("使い方:\n"
             "  hy3tool dump FILE.hy3            運賃データを CSV（UTF-8）にして標準出力に書く\n"
             "  hy3tool build FILE.csv OUT.hy3   CSV から運賃データファイルを作る\n"
             "  hy3tool check FILE.hy3           運賃データを検査し、読み込めない理由を示す\n"
             "  hy3tool check ROUTE.route.json   系統の元データを検査する（停留所と列を示す）\n"
             "  hy3tool build-route ROUTE.route.json [--out DIR]\n"
             "                                   元データから .hy3、tp.csv、yomi.txt を作る\n"
             "  hy3tool trips ROUTE.route.json   元データの便を一覧にする（便、行先、始発の発車、終点の到着）\n"
             "  hy3tool track ROUTE.route.json OUT.gpx [--trip TRIP_ID]\n"
             "                                   停留所の位置を便の時刻（便がなければ時速 18 km）で走る\n"
             "                                   GPX の軌跡を作る（R57 --gps-replay で再生できます）\n"
             "  hy3tool routes FEED              GTFS / GTFS-JP（.zip かフォルダ）の系統を一覧にする\n"
             "  hy3tool import-gtfs FEED --route ROUTE_ID --number N [--direction 0|1] [--trip TRIP_ID]\n"
             "                       [--tickets auto|stage|stop] [--names station|stop] [--out DIR]\n"
             "                                   GTFS / GTFS-JP の系統を取り込む（整理券番号は停留所ごとか\n"
             "                                   運賃の段ごと、停留所名は駅の名前かのりばの名前）\n"
             "CSV は 1 行に 1 停留所：停名,整理券番号,1列目,...,150列目（省いた列は 0）。\n"
             "空行と # で始まる行は読み飛ばします。\n\n");
}

int usage()
{
    err() << usageText();
    return CannotRun;
}

// A plain file read whole, up to `maxBytes`; anything else said and refused.
std::optional<QByteArray> readFile(const QString &path, qint64 maxBytes)
{
    WholeFile::Contents file = WholeFile::read(path, maxBytes);
    if (file.problem != WholeFile::Problem::None) {
        err() << path << ": " << WholeFile::problemText(file, maxBytes) << "\n";
        return std::nullopt;
    }
    return std::move(file.bytes);
}

// The file's records when the program would read them; problems reported.
std::optional<Hy3File::Contents> readFareFile(const QString &path)
{
    const std::optional<QByteArray> bytes = readFile(path, Hy3File::MaxUsedBytes);
    if (!bytes) {
        return std::nullopt;
    }
    Hy3File::Contents contents = Hy3File::parse(*bytes);
    if (contents.problem != Hy3File::Problem::None) {
        err() << path << ": " << Hy3File::problemText(contents) << " このファイルは読み込まれません。\n";
        return std::nullopt;
    }
    return contents;
}

// The program sets a route at a section smaller than the number of stops, so
// a file of one stop can never be used.
QString oneStopText()
{
    return QStringLiteral("停留所が1件だけなので、どの区間からも系統設定できません（区間はデータの数より小さいこと）。");
}

// Warns of every fare the board cannot show as written, naming the stop and
// the column; the count of warnings.
int warnFareCells(const QString &path, const std::vector<StopRecord> &records)
{
    std::vector<RouteProblem> problems;
    std::vector<RouteStop> stops;
    for (size_t i = 0; i < records.size(); ++i) {
        RouteStop stop;
        stop.name = records[i].name;
        stops.push_back(stop);
        for (int c = 1; c <= RouteBuilder::MaxTickets; ++c) {
            RouteBuilder::checkFareCell(static_cast<int>(i) + 1, c, records[i].column(c), problems);
        }
    }
    for (const RouteProblem &problem : problems) {
        err() << path << ": 警告: " << problem.describe(stops) << "\n";
    }
    return static_cast<int>(problems.size());
}

int dump(const QString &path)
{
    const std::optional<Hy3File::Contents> contents = readFareFile(path);
    if (!contents) {
        return FileRefused;
    }
    out() << QString::fromUtf8(FareCsv::write(contents->records));
    return Success;
}

int check(const QString &path)
{
    const std::optional<QByteArray> bytes = readFile(path, Hy3File::MaxUsedBytes);
    if (!bytes) {
        return CannotRun;
    }
    const Hy3File::Contents contents = Hy3File::parse(*bytes);
    if (contents.problem != Hy3File::Problem::None) {
        err() << path << ": " << Hy3File::problemText(contents) << " このファイルは読み込まれません。\n";
        return FileRefused;
    }
    for (const int record : contents.damagedNames) {
        err() << path << ": " << record << "件目の停名にシフトJIS（CP932）でないバイトがあり、「"
              << contents.records[static_cast<size_t>(record - 1)].name << "」と表示されます。\n";
    }
    if (contents.usedBytes < bytes->size()) {
        err() << path << ": 最後の停留所の後の " << (bytes->size() - contents.usedBytes) << " バイトは無視されます。\n";
    }
    if (contents.count == 1) {
        err() << path << ": " << oneStopText() << "\n";
        return FileRefused;
    }
    const int warnings = warnFareCells(path, contents.records);
    out() << path << ": " << contents.count << " 件の停留所、区間 1～" << (contents.count - 1)
          << " で系統設定できます。";
    if (warnings > 0) {
        out() << "警告 " << warnings << " 件。";
    }
    out() << "\n";
    return Success;
}

int build(const QString &csvPath, const QString &outPath)
{
    const std::optional<QByteArray> csv = readFile(csvPath, RouteSource::MaxFileBytes);
    if (!csv) {
        return CannotRun;
    }
    const FareCsvContents contents = FareCsv::parse(*csv);
    std::set<int> faultyLines;
    for (const FareCsvError &error : contents.errors) {
        err() << csvPath << ":" << error.line << ": " << error.reason << "\n";
        faultyLines.insert(error.line);
    }
    if (!faultyLines.empty()) {
        err() << csvPath << ": " << faultyLines.size() << " 行に誤りがあります。" << outPath << " は作りません。\n";
        return FileRefused;
    }
    if (contents.records.empty()) {
        err() << csvPath << ": 停留所が1件もありません。" << outPath << " は作りません。\n";
        return FileRefused;
    }
    const std::optional<QByteArray> bytes = Hy3File::serialize(contents.records);
    if (!bytes) {
        err() << outPath << ": 停名がシフトJIS（CP932）で書けないか長すぎるため、作れません。\n";
        return FileRefused;
    }
    QString error;
    if (!FileReplacement::write(outPath, *bytes, &error)) {
        err() << error << "\n";
        return CannotRun;
    }
    warnFareCells(csvPath, contents.records);
    out() << outPath << ": " << contents.records.size() << " 件の停留所を書きました。\n";
    if (contents.records.size() == 1) {
        err() << outPath << ": 警告: " << oneStopText() << "\n";
        return FileRefused;
    }
    return Success;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    ProgramCommandLine commandLine(QStringLiteral("hy3tool"), usageText());
    for (const char *option : {"route", "number", "direction", "trip", "out", "tickets", "names"}) {
        commandLine.acceptValueOption(QString::fromLatin1(option));
    }
    if (const std::optional<int> exitCode = commandLine.answer(app.arguments(), out(), err())) {
        return *exitCode;
    }
    const QStringList args = commandLine.positionalArguments();
    if (args.size() == 2 && args[0] == QLatin1String("dump")) {
        return dump(args[1]);
    }
    if (args.size() == 2 && args[0] == QLatin1String("routes")) {
        return RouteCommands::listRoutes(args[1]);
    }
    if (args.size() == 2 && args[0] == QLatin1String("import-gtfs")) {
        return RouteCommands::importGtfs({args[1], commandLine.value(QStringLiteral("route")),
                                          commandLine.value(QStringLiteral("number")),
                                          commandLine.value(QStringLiteral("direction")),
                                          commandLine.value(QStringLiteral("trip")),
                                          commandLine.value(QStringLiteral("out")),
                                          commandLine.value(QStringLiteral("tickets")),
                                          commandLine.value(QStringLiteral("names"))});
    }
    if (args.size() == 2 && args[0] == QLatin1String("trips")) {
        return RouteCommands::listTrips(args[1]);
    }
    if (args.size() == 3 && args[0] == QLatin1String("track")) {
        return RouteCommands::writeTrack(args[1], args[2], commandLine.value(QStringLiteral("trip")));
    }
    if (args.size() == 2 && args[0] == QLatin1String("build-route")) {
        return RouteCommands::buildRoute(args[1], commandLine.value(QStringLiteral("out")));
    }
    if (args.size() == 2 && args[0] == QLatin1String("check") && args[1].endsWith(RouteSource::fileSuffix())) {
        return RouteCommands::checkRoute(args[1]);
    }
    if (args.size() == 2 && args[0] == QLatin1String("check")) {
        return check(args[1]);
    }
    if (args.size() == 3 && args[0] == QLatin1String("build")) {
        return build(args[1], args[2]);
    }
    return usage();
}
