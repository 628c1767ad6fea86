#include "RouteSource.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "ServiceTime.h"
#include "app/WholeFile.h"
#include "formats/Hy3File.h"
#include "formats/JsonNumber.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int FormatVersion = 1;

// Distances are written in kilometres with one decimal, as authors think of
// them, and kept in tenths so that no rounding creeps in.
QJsonValue kmValue(int tenths)
{
    return QJsonValue(tenths / 10.0);
}

QString soundName(RouteStop::Sound sound)
{
    switch (sound) {
    case RouteStop::Sound::Ordinary:
        return QStringLiteral("ordinary");
    case RouteStop::Sound::Major:
        return QStringLiteral("major");
    case RouteStop::Sound::Terminal:
        return QStringLiteral("terminal");
    }
    return {};
}

QJsonArray intArray(const std::vector<int> &values)
{
    QJsonArray array;
    for (const int v : values) {
        array.append(v);
    }
    return array;
}

const std::array<QString, 7> DayNames{QStringLiteral("mon"), QStringLiteral("tue"), QStringLiteral("wed"),
                                       QStringLiteral("thu"), QStringLiteral("fri"), QStringLiteral("sat"),
                                       QStringLiteral("sun")};

QString dateText(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QJsonArray dateArray(const std::vector<QDate> &dates)
{
    QJsonArray array;
    for (const QDate &date : dates) {
        array.append(dateText(date));
    }
    return array;
}

QJsonObject tripToJson(const RouteTrip &trip)
{
    QJsonObject service{{QStringLiteral("id"), trip.service.id}};
    if (trip.service.weekdays) {
        QJsonArray days;
        for (size_t d = 0; d < DayNames.size(); ++d) {
            if ((*trip.service.weekdays)[d]) {
                days.append(DayNames[d]);
            }
        }
        service.insert(QStringLiteral("days"), days);
    }
    if (trip.service.from.isValid()) {
        service.insert(QStringLiteral("from"), dateText(trip.service.from));
    }
    if (trip.service.until.isValid()) {
        service.insert(QStringLiteral("until"), dateText(trip.service.until));
    }
    if (!trip.service.dates.empty()) {
        service.insert(QStringLiteral("dates"), dateArray(trip.service.dates));
    }
    if (!trip.service.exceptDates.empty()) {
        service.insert(QStringLiteral("exceptDates"), dateArray(trip.service.exceptDates));
    }
    QJsonArray times;
    for (const StopTime &time : trip.times) {
        QJsonObject at;
        if (time.arrival) {
            at.insert(QStringLiteral("arrival"), ServiceTime::format(*time.arrival));
        }
        if (time.departure) {
            at.insert(QStringLiteral("departure"), ServiceTime::format(*time.departure));
        }
        times.append(at);
    }
    QJsonObject object{{QStringLiteral("id"), trip.id}, {QStringLiteral("service"), service},
                       {QStringLiteral("times"), times}};
    if (!trip.headsign.isEmpty()) {
        object.insert(QStringLiteral("headsign"), trip.headsign);
    }
    return object;
}

QJsonObject namesToJson(const QMap<QString, QString> &names)
{
    QJsonObject object;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        object.insert(it.key(), it.value());
    }
    return object;
}

// Reading with the path of the value in every error.
class Reader
{
public:
    QString error;

    bool ok() const { return error.isEmpty(); }

    void fail(const QString &where, const QString &what)
    {
        if (error.isEmpty()) {
            error = QStringLiteral("%1: %2").arg(where, what);
        }
    }

    int integer(const QJsonObject &object, const QString &key, const QString &where, int fallback, bool required = false)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            if (required) {
                fail(where, QStringLiteral("\"%1\" がありません").arg(key));
            }
            return fallback;
        }
        const std::optional<int> number = JsonNumber::whole(value, -2147483647, 2147483647);
        if (!number) {
            fail(where, QStringLiteral("\"%1\" は整数ではありません").arg(key));
            return fallback;
        }
        return *number;
    }

    std::optional<int> tenths(const QJsonObject &object, const QString &key, const QString &where)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined() || value.isNull()) {
            return std::nullopt;
        }
        const double km = value.toDouble(-1);
        if (!value.isDouble() || km < 0 || km > 100000) {
            fail(where, QStringLiteral("\"%1\" は 0 以上の km ではありません").arg(key));
            return std::nullopt;
        }
        const double t = km * 10;
        const int rounded = static_cast<int>(t + 0.5);
        if (qAbs(t - rounded) > 1e-6) {
            fail(where, QStringLiteral("\"%1\" は 0.1 km 単位ではありません").arg(key));
            return std::nullopt;
        }
        return rounded;
    }

    QString text(const QJsonObject &object, const QString &key, const QString &where)
    {
        const QJsonValue value = object.value(key);
        if (!value.isUndefined() && !value.isString()) {
            fail(where, QStringLiteral("\"%1\" は文字列ではありません").arg(key));
        }
        return value.toString();
    }

    // A number of degrees within ±`limit`; none when the key is missing.
    std::optional<double> degrees(const QJsonObject &object, const QString &key, const QString &where, double limit)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined() || value.isNull()) {
            return std::nullopt;
        }
        const double d = value.toDouble(1000);
        if (!value.isDouble() || d < -limit || d > limit) {
            fail(where, QStringLiteral("\"%1\" は -%2～%2 の度ではありません").arg(key).arg(limit));
            return std::nullopt;
        }
        return d;
    }

    std::optional<int> time(const QJsonObject &object, const QString &key, const QString &where)
    {
        if (!object.contains(key)) {
            return std::nullopt;
        }
        const QString text = this->text(object, key, where);
        const std::optional<int> seconds = ServiceTime::parse(text);
        if (!seconds) {
            fail(where, QStringLiteral("\"%1\" は時刻 HH:MM:SS ではありません（「%2」）").arg(key, text));
        }
        return seconds;
    }

    QDate date(const QJsonValue &value, const QString &key, const QString &where)
    {
        const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
        if (!value.isString() || !date.isValid()) {
            fail(where, QStringLiteral("\"%1\" は日付 YYYY-MM-DD ではありません").arg(key));
        }
        return date;
    }

    std::vector<QDate> dates(const QJsonObject &object, const QString &key, const QString &where)
    {
        std::vector<QDate> values;
        const QJsonArray array = this->array(object, key, where);
        for (qsizetype i = 0; i < array.size() && ok(); ++i) {
            values.push_back(date(array.at(i), key, where));
        }
        return values;
    }

    // Language tag -> name, the object under `key` (none: empty); a value
    // that is not text is refused, an empty one left out.
    QMap<QString, QString> names(const QJsonObject &object, const QString &key, const QString &where)
    {
        QMap<QString, QString> names;
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            return names;
        }
        if (!value.isObject()) {
            fail(where, QStringLiteral("\"%1\" はオブジェクト（{ }）ではありません").arg(key));
            return names;
        }
        const QJsonObject languages = value.toObject();
        for (auto it = languages.begin(); it != languages.end(); ++it) {
            if (!it.value().isString()) {
                fail(where, QStringLiteral("\"%1\" の \"%2\" は文字列ではありません").arg(key, it.key()));
                return names;
            }
            if (!it.key().isEmpty() && !it.value().toString().isEmpty()) {
                names.insert(it.key(), it.value().toString());
            }
        }
        return names;
    }

    // The array under `key` (none: empty); anything else is refused.
    QJsonArray array(const QJsonObject &object, const QString &key, const QString &where)
    {
        const QJsonValue value = object.value(key);
        if (!value.isUndefined() && !value.isArray()) {
            fail(where, QStringLiteral("\"%1\" は配列ではありません").arg(key));
        }
        return value.toArray();
    }

    // An object where one must be: an element of an array, a member.
    QJsonObject object(const QJsonValue &value, const QString &where)
    {
        if (!value.isObject()) {
            fail(where, QStringLiteral("オブジェクト（{ }）ではありません"));
        }
        return value.toObject();
    }

    std::vector<int> integers(const QJsonObject &object, const QString &key, const QString &where)
    {
        std::vector<int> values;
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            return values;
        }
        if (!value.isArray()) {
            fail(where, QStringLiteral("\"%1\" は配列ではありません").arg(key));
            return values;
        }
        const QJsonArray array = value.toArray();
        for (qsizetype i = 0; i < array.size(); ++i) {
            const std::optional<int> number =
                JsonNumber::whole(array.at(i), std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
            if (!number) {
                fail(where, QStringLiteral("\"%1\" の %2 番目は整数ではありません").arg(key).arg(i + 1));
                return values;
            }
            values.push_back(*number);
        }
        return values;
    }
};

QJsonObject ruleToJson(const FareRule &rule)
{
    QJsonObject object{{QStringLiteral("kind"), FareRule::kindName(rule.kind)}};
    switch (rule.kind) {
    case FareRule::Kind::Flat:
        object.insert(QStringLiteral("fare"), rule.flatFare);
        break;
    case FareRule::Kind::Distance:
        if (!rule.bands.empty()) {
            QJsonArray bands;
            for (const FareRule::Band &band : rule.bands) {
                bands.append(QJsonObject{{QStringLiteral("upToKm"), kmValue(band.upToTenths)},
                                         {QStringLiteral("fare"), band.fare}});
            }
            object.insert(QStringLiteral("bands"), bands);
        } else {
            object.insert(QStringLiteral("baseFare"), rule.baseFare);
            object.insert(QStringLiteral("baseKm"), kmValue(rule.baseTenths));
            object.insert(QStringLiteral("stepFare"), rule.stepFare);
            object.insert(QStringLiteral("stepKm"), kmValue(rule.stepTenths));
        }
        object.insert(QStringLiteral("unit"), rule.unit);
        break;
    case FareRule::Kind::Zone:
        if (!rule.zonePairs.isEmpty()) {
            // Sorted, so that the same source always writes the same bytes.
            QList<QPair<QString, QString>> keys = rule.zonePairs.keys();
            std::sort(keys.begin(), keys.end());
            QJsonArray pairs;
            for (const auto &key : keys) {
                pairs.append(QJsonObject{{QStringLiteral("from"), key.first},
                                         {QStringLiteral("to"), key.second},
                                         {QStringLiteral("fare"), rule.zonePairs.value(key)}});
            }
            object.insert(QStringLiteral("pairs"), pairs);
        } else {
            object.insert(QStringLiteral("faresByZonesCrossed"), intArray(rule.faresByZonesCrossed));
        }
        break;
    case FareRule::Kind::Manual:
        break;
    }
    return object;
}

FareRule ruleFromJson(const QJsonObject &object, Reader &reader)
{
    FareRule rule;
    const QString where = QStringLiteral("fareRule");
    const QString kind = reader.text(object, QStringLiteral("kind"), where);
    if (!FareRule::kindFromName(kind, rule.kind)) {
        reader.fail(where, QStringLiteral("\"kind\" は flat, distance, zone, manual のどれかです（「%1」）").arg(kind));
        return rule;
    }
    rule.flatFare = reader.integer(object, QStringLiteral("fare"), where, 0, rule.kind == FareRule::Kind::Flat);
    rule.baseFare = reader.integer(object, QStringLiteral("baseFare"), where, 0);
    rule.baseTenths = reader.tenths(object, QStringLiteral("baseKm"), where).value_or(0);
    rule.stepFare = reader.integer(object, QStringLiteral("stepFare"), where, 0);
    rule.stepTenths = reader.tenths(object, QStringLiteral("stepKm"), where).value_or(0);
    rule.unit = reader.integer(object, QStringLiteral("unit"), where, 10);
    const QJsonArray bands = reader.array(object, QStringLiteral("bands"), where);
    for (qsizetype i = 0; i < bands.size() && reader.ok(); ++i) {
        const QString at = QStringLiteral("fareRule.bands[%1]").arg(i);
        const QJsonObject band = reader.object(bands.at(i), at);
        const std::optional<int> upTo = reader.tenths(band, QStringLiteral("upToKm"), at);
        if (!upTo) {
            reader.fail(at, QStringLiteral("\"upToKm\" がありません"));
        }
        rule.bands.push_back({upTo.value_or(0), reader.integer(band, QStringLiteral("fare"), at, 0, true)});
    }
    rule.faresByZonesCrossed = reader.integers(object, QStringLiteral("faresByZonesCrossed"), where);
    const QJsonArray pairs = reader.array(object, QStringLiteral("pairs"), where);
    for (qsizetype i = 0; i < pairs.size() && reader.ok(); ++i) {
        const QString at = QStringLiteral("fareRule.pairs[%1]").arg(i);
        const QJsonObject pair = reader.object(pairs.at(i), at);
        rule.zonePairs.insert({reader.text(pair, QStringLiteral("from"), at), reader.text(pair, QStringLiteral("to"), at)},
                              reader.integer(pair, QStringLiteral("fare"), at, 0, true));
    }
    return rule;
}

RouteTrip tripFromJson(const QJsonObject &object, const QString &where, size_t stopCount, Reader &reader)
{
    RouteTrip trip;
    trip.id = reader.text(object, QStringLiteral("id"), where);
    if (trip.id.isEmpty() && reader.ok()) {
        reader.fail(where, QStringLiteral("\"id\" がありません"));
    }
    trip.headsign = reader.text(object, QStringLiteral("headsign"), where);
    const QString serviceAt = where + QStringLiteral(".service");
    const QJsonObject service = reader.object(object.value(QStringLiteral("service")), serviceAt);
    trip.service.id = reader.text(service, QStringLiteral("id"), serviceAt);
    if (service.contains(QStringLiteral("days"))) {
        std::array<bool, 7> weekdays{};
        const QJsonArray days = reader.array(service, QStringLiteral("days"), serviceAt);
        for (const QJsonValue &day : days) {
            const auto found = std::find(DayNames.begin(), DayNames.end(), day.toString());
            if (!day.isString() || found == DayNames.end()) {
                reader.fail(serviceAt, QStringLiteral("\"days\" は mon, tue, wed, thu, fri, sat, sun の並びです"));
                break;
            }
            weekdays[static_cast<size_t>(found - DayNames.begin())] = true;
        }
        trip.service.weekdays = weekdays;
    }
    for (const auto &[key, date] : {std::pair{QStringLiteral("from"), &trip.service.from},
                                    std::pair{QStringLiteral("until"), &trip.service.until}}) {
        if (service.contains(key)) {
            *date = reader.date(service.value(key), key, serviceAt);
        }
    }
    trip.service.dates = reader.dates(service, QStringLiteral("dates"), serviceAt);
    trip.service.exceptDates = reader.dates(service, QStringLiteral("exceptDates"), serviceAt);
    const QJsonArray times = reader.array(object, QStringLiteral("times"), where);
    if (reader.ok() && static_cast<size_t>(times.size()) != stopCount) {
        reader.fail(where, QStringLiteral("\"times\" が %1 あります（停留所の数 %2 と同じだけ要ります）").arg(times.size()).arg(stopCount));
    }
    for (qsizetype i = 0; i < times.size() && reader.ok(); ++i) {
        const QString at = QStringLiteral("%1.times[%2]").arg(where).arg(i);
        const QJsonObject time = reader.object(times.at(i), at);
        trip.times.push_back({reader.time(time, QStringLiteral("arrival"), at),
                              reader.time(time, QStringLiteral("departure"), at)});
    }
    return trip;
}

} // namespace

QByteArray RouteSource::toJson() const
{
    QJsonArray stopArray;
    for (const RouteStop &stop : stops) {
        QJsonObject object{{QStringLiteral("name"), stop.name}};
        if (!stop.reading.isEmpty()) {
            object.insert(QStringLiteral("reading"), stop.reading);
        }
        if (stop.distanceTenths) {
            object.insert(QStringLiteral("km"), kmValue(*stop.distanceTenths));
        }
        if (!stop.zone.isEmpty()) {
            object.insert(QStringLiteral("zone"), stop.zone);
        }
        if (stop.ticket) {
            object.insert(QStringLiteral("ticket"), *stop.ticket);
        }
        object.insert(QStringLiteral("sound"), soundName(stop.sound));
        if (stop.lat) {
            object.insert(QStringLiteral("lat"), *stop.lat);
        }
        if (stop.lon) {
            object.insert(QStringLiteral("lon"), *stop.lon);
        }
        if (!stop.names.isEmpty()) {
            object.insert(QStringLiteral("names"), namesToJson(stop.names));
        }
        if (stop.englishFromReading) {
            object.insert(QStringLiteral("enFromReading"), true);
        }
        stopArray.append(object);
    }
    QJsonArray overrideArray;
    for (const FareOverride &cell : overrides) {
        overrideArray.append(QJsonObject{{QStringLiteral("stop"), cell.stop},
                                         {QStringLiteral("ticket"), cell.ticket},
                                         {QStringLiteral("fare"), cell.fare}});
    }
    QJsonArray announcementArray;
    for (qsizetype i = 0; i < announcements.size(); ++i) {
        const TapeRecord &record = announcements.at(i);
        QJsonObject object{{QStringLiteral("text"), record.Text},
                           {QStringLiteral("step"), record.StepFlag},
                           {QStringLiteral("sound"), record.SoundFlag}};
        if (!englishAnnouncements.value(i).isEmpty()) {
            object.insert(QStringLiteral("en"), englishAnnouncements.at(i));
        }
        announcementArray.append(object);
    }
    QJsonObject root{
        {QStringLiteral("format"), QStringLiteral("tavelo-route")},
        {QStringLiteral("version"), FormatVersion},
        {QStringLiteral("route"), route},
        {QStringLiteral("selectorColumn"), selectorColumn},
        {QStringLiteral("fareRule"), ruleToJson(rule)},
        {QStringLiteral("stops"), stopArray},
        {QStringLiteral("overrides"), overrideArray},
    };
    // Left out, the announcements are made from the stops when building.
    if (!announcements.isEmpty() || noAnnouncementsWanted) {
        root.insert(QStringLiteral("announcements"), announcementArray);
    }
    if (!headsignNames.isEmpty()) {
        root.insert(QStringLiteral("headsignNames"), namesToJson(headsignNames));
    }
    if (!readings.isEmpty()) {
        QJsonArray readingArray;
        for (const auto &[written, reading] : readings) {
            readingArray.append(QJsonObject{{QStringLiteral("written"), written}, {QStringLiteral("reading"), reading}});
        }
        root.insert(QStringLiteral("readings"), readingArray);
    }
    if (!trips.empty()) {
        QJsonArray tripArray;
        for (const RouteTrip &trip : trips) {
            tripArray.append(tripToJson(trip));
        }
        root.insert(QStringLiteral("trips"), tripArray);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<RouteSource> RouteSource::fromJson(const QByteArray &json, QString &error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("JSON として読めません（%1 バイト目: %2）").arg(parseError.offset).arg(parseError.errorString());
        return std::nullopt;
    }
    if (!document.isObject()) {
        error = QStringLiteral("JSON の最上位がオブジェクトではありません");
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    Reader reader;
    if (root.value(QStringLiteral("format")).toString() != QStringLiteral("tavelo-route")) {
        reader.fail(QStringLiteral("format"), QStringLiteral("\"tavelo-route\" ではありません"));
    }
    const int version = reader.integer(root, QStringLiteral("version"), QStringLiteral("version"), 0, true);
    if (reader.ok() && version != FormatVersion) {
        reader.fail(QStringLiteral("version"), QStringLiteral("版 %1 は読めません（読めるのは %2）").arg(version).arg(FormatVersion));
    }
    RouteSource source;
    source.route = reader.text(root, QStringLiteral("route"), QStringLiteral("route"));
    source.selectorColumn = reader.integer(root, QStringLiteral("selectorColumn"), QStringLiteral("selectorColumn"),
                                           DefaultSelectorColumn);
    if (source.selectorColumn < 0 || source.selectorColumn > StopRecord::ColumnCount) {
        reader.fail(QStringLiteral("selectorColumn"), QStringLiteral("0（なし）か 1 から 150 の列ではありません"));
    }
    source.rule = ruleFromJson(reader.object(root.value(QStringLiteral("fareRule")), QStringLiteral("fareRule")), reader);

    const QJsonArray stopArray = reader.array(root, QStringLiteral("stops"), QStringLiteral("stops"));
    if (stopArray.size() > Hy3File::MaxRecords) {
        reader.fail(QStringLiteral("stops"), QStringLiteral("停留所が %1 あります（最大 %2）").arg(stopArray.size()).arg(Hy3File::MaxRecords));
    }
    for (qsizetype i = 0; i < stopArray.size() && reader.ok(); ++i) {
        const QString where = QStringLiteral("stops[%1]").arg(i);
        const QJsonObject object = reader.object(stopArray.at(i), where);
        RouteStop stop;
        stop.name = reader.text(object, QStringLiteral("name"), where);
        stop.reading = reader.text(object, QStringLiteral("reading"), where);
        stop.distanceTenths = reader.tenths(object, QStringLiteral("km"), where);
        stop.zone = reader.text(object, QStringLiteral("zone"), where);
        if (object.contains(QStringLiteral("ticket"))) {
            stop.ticket = reader.integer(object, QStringLiteral("ticket"), where, 0);
            if (*stop.ticket < 0 || *stop.ticket > 32767) {
                reader.fail(where, QStringLiteral("\"ticket\" は 0～32767 の整数です（%1）").arg(*stop.ticket));
            }
        }
        const QString sound = object.contains(QStringLiteral("sound")) ? reader.text(object, QStringLiteral("sound"), where)
                                                                         : QStringLiteral("ordinary");
        bool known = false;
        for (const RouteStop::Sound s : {RouteStop::Sound::Ordinary, RouteStop::Sound::Major, RouteStop::Sound::Terminal}) {
            if (soundName(s) == sound) {
                stop.sound = s;
                known = true;
            }
        }
        if (!known && reader.ok()) {
            reader.fail(where, QStringLiteral("\"sound\" は ordinary, major, terminal のどれかです（「%1」）").arg(sound));
        }
        stop.lat = reader.degrees(object, QStringLiteral("lat"), where, 90);
        stop.lon = reader.degrees(object, QStringLiteral("lon"), where, 180);
        stop.names = reader.names(object, QStringLiteral("names"), where);
        const QJsonValue fromReading = object.value(QStringLiteral("enFromReading"));
        if (!fromReading.isUndefined() && !fromReading.isBool()) {
            reader.fail(where, QStringLiteral("\"enFromReading\" は true か false です"));
        }
        stop.englishFromReading = fromReading.toBool() && stop.names.contains(QStringLiteral("en"));
        source.stops.push_back(stop);
    }
    const QJsonArray overrideArray = reader.array(root, QStringLiteral("overrides"), QStringLiteral("overrides"));
    for (qsizetype i = 0; i < overrideArray.size() && reader.ok(); ++i) {
        const QString where = QStringLiteral("overrides[%1]").arg(i);
        const QJsonObject object = reader.object(overrideArray.at(i), where);
        source.overrides.push_back({reader.integer(object, QStringLiteral("stop"), where, 0, true),
                                    reader.integer(object, QStringLiteral("ticket"), where, 0, true),
                                    reader.integer(object, QStringLiteral("fare"), where, 0, true)});
    }
    const QJsonArray announcementArray =
        reader.array(root, QStringLiteral("announcements"), QStringLiteral("announcements"));
    source.noAnnouncementsWanted = root.contains(QStringLiteral("announcements")) && announcementArray.isEmpty();
    for (qsizetype i = 0; i < announcementArray.size() && reader.ok(); ++i) {
        const QString where = QStringLiteral("announcements[%1]").arg(i);
        const QJsonObject object = reader.object(announcementArray.at(i), where);
        TapeRecord record;
        record.Text = reader.text(object, QStringLiteral("text"), where);
        const int step = reader.integer(object, QStringLiteral("step"), where, 0);
        const int sound = reader.integer(object, QStringLiteral("sound"), where, 0);
        if (step < -32768 || step > 32767 || sound < -32768 || sound > 32767) {
            reader.fail(where, QStringLiteral("フラグが -32768～32767 の整数ではありません"));
        }
        record.StepFlag = static_cast<qint16>(step);
        record.SoundFlag = static_cast<qint16>(sound);
        source.announcements.append(record);
        source.englishAnnouncements.append(reader.text(object, QStringLiteral("en"), where));
    }
    if (std::all_of(source.englishAnnouncements.cbegin(), source.englishAnnouncements.cend(),
                    [](const QString &line) { return line.isEmpty(); })) {
        source.englishAnnouncements.clear();
    }
    source.headsignNames = reader.names(root, QStringLiteral("headsignNames"), QStringLiteral("headsignNames"));
    const QJsonArray readingArray = reader.array(root, QStringLiteral("readings"), QStringLiteral("readings"));
    for (qsizetype i = 0; i < readingArray.size() && reader.ok(); ++i) {
        const QString where = QStringLiteral("readings[%1]").arg(i);
        const QJsonObject object = reader.object(readingArray.at(i), where);
        const QString written = reader.text(object, QStringLiteral("written"), where);
        const QString reading = reader.text(object, QStringLiteral("reading"), where);
        if (reader.ok() && (written.isEmpty() || reading.isEmpty())) {
            reader.fail(where, QStringLiteral("\"written\" と \"reading\" が要ります"));
        }
        source.readings.append({written, reading});
    }
    const QJsonArray tripArray = reader.array(root, QStringLiteral("trips"), QStringLiteral("trips"));
    for (qsizetype i = 0; i < tripArray.size() && reader.ok(); ++i) {
        const QString where = QStringLiteral("trips[%1]").arg(i);
        source.trips.push_back(tripFromJson(reader.object(tripArray.at(i), where), where, source.stops.size(), reader));
    }
    if (!reader.ok()) {
        error = reader.error;
        return std::nullopt;
    }
    return source;
}

std::optional<RouteSource> RouteSource::readFile(const QString &path, QString &error)
{
    const WholeFile::Contents file = WholeFile::read(path, MaxFileBytes);
    QString why = WholeFile::problemText(file, MaxFileBytes);
    std::optional<RouteSource> source;
    if (why.isEmpty()) {
        source = fromJson(file.bytes, why);
    }
    if (!source) {
        error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
    }
    return source;
}
