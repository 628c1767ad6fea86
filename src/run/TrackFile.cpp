#include "TrackFile.h"

#include "app/LogText.h"
#include "app/WholeFile.h"
#include "run/GpsLog.h"

#include <QDateTime>
#include <QDir>
#include <QList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>

namespace {

constexpr qint64 DayMs = 24 * 3600 * 1000;

// Adds points in time order, from the first point's time; a point earlier
// than the one before is left out.
class TrackBuilder
{
public:
    explicit TrackBuilder(TrackFile &track) : m_track(track) {}

    // `timeMs` on any scale that only grows along the track.
    void add(qint64 timeMs, GeoPoint place, bool valid)
    {
        if (!m_track.points.empty() && timeMs < m_first + m_track.points.back().timeMs) {
            ++m_track.skipped;
            return;
        }
        if (m_track.points.empty())
            m_first = timeMs;
        m_track.points.push_back({timeMs - m_first, place, valid});
    }

    // Whether a point at `timeMs` would repeat the last one's time.
    bool repeats(qint64 timeMs) const
    {
        return !m_track.points.empty() && timeMs == m_first + m_track.points.back().timeMs;
    }

private:
    TrackFile &m_track;
    qint64 m_first = 0;
};

// NMEA's ddmm.mmmm (dddmm.mmmm for a longitude) with its hemisphere.
std::optional<double> nmeaDegrees(QByteArrayView field, QByteArrayView hemisphere, int maxDegrees)
{
    bool ok = false;
    const double value = QByteArray(field.data(), field.size()).toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0)
        return std::nullopt;
    const double degrees = std::floor(value / 100);
    const double minutes = value - degrees * 100;
    if (minutes >= 60 || degrees + minutes / 60 > maxDegrees)
        return std::nullopt;
    const double result = degrees + minutes / 60;
    if (hemisphere == "N" || hemisphere == "E")
        return result;
    if (hemisphere == "S" || hemisphere == "W")
        return -result;
    return std::nullopt;
}

// hhmmss or hhmmss.sss as milliseconds of the day.
std::optional<qint64> nmeaTimeOfDay(QByteArrayView field)
{
    if (field.size() < 6 || field.size() > 12)
        return std::nullopt;
    int digits[6];
    for (int i = 0; i < 6; ++i) {
        if (field[i] < '0' || field[i] > '9')
            return std::nullopt;
        digits[i] = field[i] - '0';
    }
    const int hours = digits[0] * 10 + digits[1];
    const int minutes = digits[2] * 10 + digits[3];
    const int seconds = digits[4] * 10 + digits[5];
    if (hours > 23 || minutes > 59 || seconds > 60)
        return std::nullopt;
    qint64 ms = 0;
    if (field.size() > 6) {
        if (field[6] != '.')
            return std::nullopt;
        int scale = 100;
        for (qsizetype i = 7; i < field.size(); ++i) {
            if (field[i] < '0' || field[i] > '9')
                return std::nullopt;
            ms += (field[i] - '0') * scale;
            scale /= 10;
        }
    }
    return ((hours * 60 + minutes) * 60 + seconds) * qint64(1000) + ms;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The fields of a sentence "$body*hh" whose checksum is right; none otherwise.
std::optional<QList<QByteArrayView>> sentenceFields(QByteArrayView line)
{
    // A sentence is at most 82 characters; a little room for receivers
    // that run over.
    if (line.size() < 4 || line.size() > 120 || line.front() != '$')
        return std::nullopt;
    const qsizetype star = line.lastIndexOf('*');
    if (star < 1 || star + 3 != line.size())
        return std::nullopt;
    const int high = hexDigit(line[star + 1]);
    const int low = hexDigit(line[star + 2]);
    if (high < 0 || low < 0)
        return std::nullopt;
    const QByteArrayView body = line.sliced(1, star - 1);
    unsigned char sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    if (sum != high * 16 + low)
        return std::nullopt;
    QList<QByteArrayView> fields;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= body.size(); ++i) {
        if (i == body.size() || body[i] == ',') {
            fields.append(body.sliced(from, i - from));
            from = i + 1;
        }
    }
    return fields;
}

} // namespace

TrackFile TrackFile::fromNmea(QByteArrayView log)
{
    TrackFile track;
    TrackBuilder builder(track);
    // The sentences carry the time of day; the day moves on when the time
    // falls back by more than half a day.
    qint64 day = 0;
    std::optional<qint64> lastTimeOfDay;
    qsizetype from = 0;
    while (from < log.size()) {
        qsizetype end = log.indexOf('\n', from);
        if (end < 0)
            end = log.size();
        const QByteArrayView line = log.sliced(from, end - from).trimmed();
        from = end + 1;
        if (line.isEmpty())
            continue;
        const std::optional<QList<QByteArrayView>> fields = sentenceFields(line);
        if (!fields) {
            ++track.skipped;
            continue;
        }
        const QByteArrayView kind = fields->front();
        const bool rmc = kind.size() == 5 && kind.endsWith("RMC");
        const bool gga = kind.size() == 5 && kind.endsWith("GGA");
        if (!rmc && !gga)
            continue; // satellites, headings and the like say nothing of where
        // RMC: time, status, lat, N/S, lon, E/W; GGA: time, lat, N/S, lon, E/W, quality.
        if (fields->size() < 7) {
            ++track.skipped;
            continue;
        }
        const std::optional<qint64> timeOfDay = nmeaTimeOfDay(fields->at(1));
        if (!timeOfDay) {
            ++track.skipped;
            continue;
        }
        const int at = rmc ? 3 : 2;
        const bool valid = rmc ? fields->at(2) == "A" : fields->at(6) != "0" && !fields->at(6).isEmpty();
        GeoPoint place;
        if (valid) {
            const std::optional<double> lat = nmeaDegrees(fields->at(at), fields->at(at + 1), 90);
            const std::optional<double> lon = nmeaDegrees(fields->at(at + 2), fields->at(at + 3), 180);
            if (!lat || !lon) {
                ++track.skipped;
                continue;
            }
            place = {*lat, *lon};
        }
        if (lastTimeOfDay && *timeOfDay + DayMs / 2 < *lastTimeOfDay)
            ++day;
        lastTimeOfDay = timeOfDay;
        const qint64 timeMs = day * DayMs + *timeOfDay;
        // A receiver reports each fix in both sentences; one is enough.
        if (builder.repeats(timeMs))
            continue;
        builder.add(timeMs, place, valid);
    }
    return track;
}

TrackFile TrackFile::fromGpx(QByteArrayView xml)
{
    TrackFile track;
    TrackBuilder builder(track);
    QXmlStreamReader reader(xml.toByteArray());
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != u"trkpt")
            continue;
        bool latOk = false;
        bool lonOk = false;
        const GeoPoint place{reader.attributes().value(QLatin1StringView("lat")).toDouble(&latOk),
                             reader.attributes().value(QLatin1StringView("lon")).toDouble(&lonOk)};
        QDateTime time;
        // The point's own elements, down to its end.
        while (reader.readNextStartElement()) {
            if (reader.name() == u"time")
                time = QDateTime::fromString(reader.readElementText().trimmed(), Qt::ISODateWithMs);
            else
                reader.skipCurrentElement();
        }
        if (reader.hasError())
            break;
        if (!latOk || !lonOk || !place.isValid() || !time.isValid()) {
            ++track.skipped;
            continue;
        }
        builder.add(time.toMSecsSinceEpoch(), place, true);
    }
    if (reader.hasError()) {
        track.brokenOff = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
    }
    return track;
}

QByteArray TrackFile::toGpx(const QString &name, const QDateTime &start) const
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(1);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("gpx"));
    writer.writeDefaultNamespace(QStringLiteral("http://www.topografix.com/GPX/1/1"));
    writer.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    writer.writeAttribute(QStringLiteral("creator"), QStringLiteral("Tavelo"));
    writer.writeStartElement(QStringLiteral("trk"));
    writer.writeTextElement(QStringLiteral("name"), name);
    writer.writeStartElement(QStringLiteral("trkseg"));
    for (const Point &point : points) {
        // A point without a position has no place in a GPX track.
        if (!point.valid)
            continue;
        writer.writeStartElement(QStringLiteral("trkpt"));
        writer.writeAttribute(QStringLiteral("lat"), QString::number(point.place.lat, 'f', 7));
        writer.writeAttribute(QStringLiteral("lon"), QString::number(point.place.lon, 'f', 7));
        writer.writeTextElement(QStringLiteral("time"), start.addMSecs(point.timeMs).toString(Qt::ISODateWithMs));
        writer.writeEndElement();
    }
    writer.writeEndDocument();
    return bytes;
}

TrackFile TrackFile::fromBytes(QByteArrayView bytes)
{
    QByteArrayView start = bytes.trimmed();
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.sliced(3).trimmed();
    return start.startsWith('<') ? fromGpx(bytes) : fromNmea(bytes);
}

std::optional<TrackFile> TrackFile::readFile(const QString &path, QString &error)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    const WholeFile::Contents file = WholeFile::read(path, MaxFileBytes);
    const QString problem = WholeFile::problemText(file, MaxFileBytes);
    if (!problem.isEmpty()) {
        error = QStringLiteral("%1: %2").arg(shownPath, problem);
        return std::nullopt;
    }
    TrackFile track = fromBytes(file.bytes);
    if (track.skipped > 0 || !track.brokenOff.isEmpty()) {
        qCWarning(lcGps).noquote() << LogText::escaped(shownPath) << ":" << track.skipped
                                   << "points or sentences left out"
                                   << (track.brokenOff.isEmpty() ? QString()
                                                                 : "; the file breaks off at " + track.brokenOff);
    }
    if (track.points.empty()) {
        error = QStringLiteral("%1: 時刻のついた位置がありません").arg(shownPath);
        return std::nullopt;
    }
    return track;
}
