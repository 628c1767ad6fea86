#include "GtfsStopTimes.h"

bool GtfsStopTimes::read(GtfsFeed &feed, const std::function<bool(const QString &trip)> &wanted,
                         const std::function<QString(const Row &row)> &take, QString &error)
{
    const std::optional<GtfsTable> stopTimes = GtfsTable::required(
        feed, QStringLiteral("stop_times.txt"),
        {QStringLiteral("trip_id"), QStringLiteral("stop_id"), QStringLiteral("stop_sequence")}, error);
    if (!stopTimes) {
        return false;
    }
    const int tripColumn = stopTimes->column(QStringLiteral("trip_id"));
    const int stopColumn = stopTimes->column(QStringLiteral("stop_id"));
    const int sequenceColumn = stopTimes->column(QStringLiteral("stop_sequence"));
    const int pickupColumn = stopTimes->column(QStringLiteral("pickup_type"));
    const int dropOffColumn = stopTimes->column(QStringLiteral("drop_off_type"));
    const int arrivalColumn = stopTimes->column(QStringLiteral("arrival_time"));
    const int departureColumn = stopTimes->column(QStringLiteral("departure_time"));
    const QString none = QStringLiteral("1");
    return stopTimes->forEachRow([&](const QStringList &fields, int) {
        Row row;
        row.trip = GtfsTable::field(fields, tripColumn);
        if (!wanted(row.trip)) {
            return QString();
        }
        row.stop = GtfsTable::field(fields, stopColumn);
        row.sequenceText = GtfsTable::field(fields, sequenceColumn);
        bool ok = false;
        const qint64 sequence = row.sequenceText.toLongLong(&ok);
        if (ok) {
            row.sequence = sequence;
        }
        row.boards = GtfsTable::field(fields, pickupColumn) != none;
        row.alights = GtfsTable::field(fields, dropOffColumn) != none;
        row.arrival = GtfsTable::field(fields, arrivalColumn);
        row.departure = GtfsTable::field(fields, departureColumn);
        return take(row);
    }, error);
}
