#pragma once

#include "GtfsFeed.h"

#include <QHash>
#include <QMap>
#include <QString>

#include <optional>

// What translations.txt of a feed says of stop names and headsigns, in
// either of its forms: the older GTFS-JP `trans_id,lang,translation`, keyed
// by the Japanese text wherever it stands, and the newer GTFS
// `table_name,field_name,language,translation,record_id,...,field_value`,
// keyed by a record (a stop, a trip) or by the text.
//
// Readings (ja-Hrkt) are kept apart from the names in other languages,
// which are keyed by the tag a route keeps (see languageTag()).
class GtfsTranslations
{
public:
    // The translations of `feed`, none when it has no translations.txt;
    // nothing with the reason (a missing column, a bad line) in `error`.
    static std::optional<GtfsTranslations> read(GtfsFeed &feed, QString &error);

    // The tag a route keeps for a feed's language: en-US (any English) as
    // "en", zh-CN / zh-SG / zh-Hans as "zh-Hans", zh-TW / zh-HK / zh-MO /
    // zh-Hant as "zh-Hant", ko-KR as "ko", any other as the feed writes it;
    // empty for Japanese itself (ja) and its readings (ja-Hrkt).
    static QString languageTag(const QString &feedTag);

    // Readings of written text, of any length (a whole name or a piece),
    // and of stops by stop_id.
    const QHash<QString, QString> &readingsByText() const { return m_readingsByText; }
    const QHash<QString, QString> &readingsByStop() const { return m_readingsByStop; }

    // Language -> name, for the stop `stopId` written `name`: what the feed
    // gives for that stop, else for that whole text.
    QMap<QString, QString> stopNames(const QString &stopId, const QString &name) const;
    // Likewise for the headsign `headsign` of the trip `tripId`.
    QMap<QString, QString> headsignNames(const QString &tripId, const QString &headsign) const;

private:
    using Names = QMap<QString, QString>;
    static Names merged(const Names &byRecord, const Names &byText);

    QHash<QString, QString> m_readingsByText;
    QHash<QString, QString> m_readingsByStop;
    QHash<QString, Names> m_stopsById;
    QHash<QString, Names> m_tripsById;
    QHash<QString, Names> m_stopsByText;
    QHash<QString, Names> m_headsignsByText;
};
