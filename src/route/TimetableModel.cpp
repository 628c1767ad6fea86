#include "TimetableModel.h"

#include "ServiceTime.h"

#include <QSet>

namespace {

QString timesText(const StopTime &time)
{
    if (!time.arrival && !time.departure) {
        return {};
    }
    if (time.arrival == time.departure) {
        return ServiceTime::format(*time.arrival);
    }
    const auto shown = [](const std::optional<int> &t) { return t ? ServiceTime::format(*t) : QString(); };
    return shown(time.arrival) + u'-' + shown(time.departure);
}

// "07:05:00" (arriving and leaving), "07:05:00-07:05:30", "-07:05:00" (a
// departure only), "07:05:00-" (an arrival only) or nothing; full-width
// digits and blanks are taken too.
std::optional<StopTime> parseTimes(const QString &typed)
{
    const QString text = typed.normalized(QString::NormalizationForm_KC).remove(u' ');
    const QStringList parts = text.split(u'-');
    if (parts.size() > 2) {
        return std::nullopt;
    }
    StopTime time;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (parts.at(i).isEmpty()) {
            continue;
        }
        const std::optional<int> seconds = ServiceTime::parse(parts.at(i));
        if (!seconds) {
            return std::nullopt;
        }
        (i == 0 ? time.arrival : time.departure) = seconds;
    }
    if (parts.size() == 1) {
        time.departure = time.arrival;
    }
    return time;
}

} // namespace

TimetableModel::TimetableModel(RouteDocument *document, QObject *parent)
    : QAbstractTableModel(parent)
    , m_document(document)
    , m_rows(static_cast<int>(document->source().trips.size()))
    , m_columns(FirstStopColumn + static_cast<int>(document->source().stops.size()))
{
    connect(document, &RouteDocument::changed, this, &TimetableModel::refresh);
}

int TimetableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TimetableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant TimetableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    const RouteTrip &trip = m_document->source().trips.at(static_cast<size_t>(index.row()));
    switch (index.column()) {
    case IdColumn:
        return trip.id;
    case HeadsignColumn:
        return trip.headsign;
    default: {
        const size_t stop = static_cast<size_t>(index.column() - FirstStopColumn);
        return stop < trip.times.size() ? timesText(trip.times[stop]) : QString();
    }
    }
}

QVariant TimetableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    if (section == IdColumn) {
        return QStringLiteral("便");
    }
    if (section == HeadsignColumn) {
        return QStringLiteral("行先");
    }
    const size_t stop = static_cast<size_t>(section - FirstStopColumn);
    const std::vector<RouteStop> &stops = m_document->source().stops;
    return stop < stops.size() ? QStringLiteral("%1 %2").arg(stop + 1).arg(stops[stop].name) : QVariant();
}

Qt::ItemFlags TimetableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

bool TimetableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return false;
    }
    std::vector<RouteTrip> trips = m_document->source().trips;
    RouteTrip &trip = trips[static_cast<size_t>(index.row())];
    const QString text = value.toString();
    if (text.contains(u'\n') || text.contains(u'\r')) {
        emit inputRefused(QStringLiteral("1 行で入れてください（改行は入れられません）"));
        return false;
    }
    if (index.column() == IdColumn) {
        const QString id = text.trimmed();
        if (id.isEmpty()) {
            emit inputRefused(QStringLiteral("便には名前（trip_id）が要ります"));
            return false;
        }
        for (size_t i = 0; i < trips.size(); ++i) {
            if (trips[i].id == id && i != static_cast<size_t>(index.row())) {
                emit inputRefused(QStringLiteral("便「%1」はもうあります").arg(id));
                return false;
            }
        }
        trip.id = id;
    } else if (index.column() == HeadsignColumn) {
        trip.headsign = text;
    } else {
        const std::optional<StopTime> time = parseTimes(text);
        if (!time) {
            emit inputRefused(QStringLiteral("「%1」は時刻 HH:MM:SS（着と発が違うときは HH:MM:SS-HH:MM:SS）ではありません").arg(text));
            return false;
        }
        trip.times.resize(m_document->source().stops.size());
        trip.times[static_cast<size_t>(index.column() - FirstStopColumn)] = *time;
    }
    m_document->setTrips(trips, QStringLiteral("時刻表の編集"));
    return true;
}

bool TimetableModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > rowCount() || count <= 0) {
        return false;
    }
    std::vector<RouteTrip> trips = m_document->source().trips;
    QSet<QString> ids;
    for (const RouteTrip &trip : trips) {
        ids.insert(trip.id);
    }
    std::vector<RouteTrip> added;
    for (int n = 1; static_cast<int>(added.size()) < count; ++n) {
        const QString id = QStringLiteral("便%1").arg(trips.size() + static_cast<size_t>(n));
        if (!ids.contains(id)) {
            ids.insert(id);
            RouteTrip trip;
            trip.id = id;
            trip.times.resize(m_document->source().stops.size());
            added.push_back(trip);
        }
    }
    trips.insert(trips.begin() + row, added.begin(), added.end());
    m_document->setTrips(trips, QStringLiteral("便の追加"));
    return true;
}

bool TimetableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount()) {
        return false;
    }
    std::vector<RouteTrip> trips = m_document->source().trips;
    trips.erase(trips.begin() + row, trips.begin() + row + count);
    m_document->setTrips(trips, QStringLiteral("便の削除"));
    return true;
}

void TimetableModel::refresh()
{
    const int rows = static_cast<int>(m_document->source().trips.size());
    const int columns = FirstStopColumn + static_cast<int>(m_document->source().stops.size());
    if (rows != m_rows || columns != m_columns) {
        beginResetModel();
        m_rows = rows;
        m_columns = columns;
        endResetModel();
        return;
    }
    if (rows > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, columns - 1));
    }
    if (columns > FirstStopColumn) {
        emit headerDataChanged(Qt::Horizontal, FirstStopColumn, columns - 1); // the stops' names
    }
}
