#include "GtfsTranslations.h"

QString GtfsTranslations::languageTag(const QString &feedTag)
{
    const QString tag = feedTag.trimmed();
    const QString lower = tag.toLower();
    const auto within = [&lower](const char *language) {
        const QString prefix = QString::fromLatin1(language);
        return lower == prefix || lower.startsWith(prefix + u'-');
    };
    if (lower.isEmpty() || within("ja")) {
        return {};
    }
    if (within("en")) {
        return QStringLiteral("en");
    }
    if (within("ko")) {
        return QStringLiteral("ko");
    }
    if (within("zh-hant") || lower == QStringLiteral("zh-tw") || lower == QStringLiteral("zh-hk")
        || lower == QStringLiteral("zh-mo")) {
        return QStringLiteral("zh-Hant");
    }
    if (within("zh-hans") || lower == QStringLiteral("zh-cn") || lower == QStringLiteral("zh-sg")) {
        return QStringLiteral("zh-Hans");
    }
    return tag;
}

std::optional<GtfsTranslations> GtfsTranslations::read(GtfsFeed &feed, QString &error)
{
    GtfsTranslations result;
    const std::optional<GtfsTable> table = GtfsTable::optional(feed, QStringLiteral("translations.txt"), {}, error);
    if (!table) {
        return error.isEmpty() ? std::optional(result) : std::nullopt;
    }
    const bool older = table->column(QStringLiteral("trans_id")) >= 0;
    const QStringList columns = older
        ? QStringList{QStringLiteral("trans_id"), QStringLiteral("lang"), QStringLiteral("translation")}
        : QStringList{QStringLiteral("table_name"), QStringLiteral("field_name"), QStringLiteral("language"),
                      QStringLiteral("translation")};
    if (!table->hasColumns(columns, error)) {
        return std::nullopt;
    }
    const int translationColumn = table->column(QStringLiteral("translation"));
    const int langColumn = table->column(older ? QStringLiteral("lang") : QStringLiteral("language"));
    const int textColumn = table->column(older ? QStringLiteral("trans_id") : QStringLiteral("field_value"));
    const int tableColumn = table->column(QStringLiteral("table_name"));
    const int fieldColumn = table->column(QStringLiteral("field_name"));
    const int recordColumn = table->column(QStringLiteral("record_id"));
    if (!table->forEachRow([&](const QStringList &row, int) {
            const QString translation = GtfsTable::field(row, translationColumn);
            const QString language = GtfsTable::field(row, langColumn);
            const QString text = GtfsTable::field(row, textColumn);
            const QString record = older ? QString() : GtfsTable::field(row, recordColumn);
            if (translation.isEmpty()) {
                return QString();
            }
            const QString tableName = GtfsTable::field(row, tableColumn);
            const QString field = GtfsTable::field(row, fieldColumn);
            const bool stopName = older || (tableName == QStringLiteral("stops") && field == QStringLiteral("stop_name"));
            const bool headsign = older || (tableName == QStringLiteral("trips") && field == QStringLiteral("trip_headsign"));
            if (language.compare(QStringLiteral("ja-Hrkt"), Qt::CaseInsensitive) == 0) {
                if (stopName && !record.isEmpty()) {
                    result.m_readingsByStop.insert(record, translation);
                } else if (stopName && !text.isEmpty()) {
                    result.m_readingsByText.insert(text, translation);
                }
                return QString();
            }
            const QString tag = languageTag(language);
            if (tag.isEmpty()) {
                return QString();
            }
            if (!record.isEmpty()) {
                if (stopName) {
                    result.m_stopsById[record].insert(tag, translation);
                } else if (headsign) {
                    result.m_tripsById[record].insert(tag, translation);
                }
            } else if (!text.isEmpty()) {
                if (stopName) {
                    result.m_stopsByText[text].insert(tag, translation);
                }
                if (headsign) {
                    result.m_headsignsByText[text].insert(tag, translation);
                }
            }
            return QString();
        }, error)) {
        return std::nullopt;
    }
    return result;
}

GtfsTranslations::Names GtfsTranslations::merged(const Names &byRecord, const Names &byText)
{
    Names names = byText;
    names.insert(byRecord);
    return names;
}

QMap<QString, QString> GtfsTranslations::stopNames(const QString &stopId, const QString &name) const
{
    return merged(m_stopsById.value(stopId), m_stopsByText.value(name));
}

QMap<QString, QString> GtfsTranslations::headsignNames(const QString &tripId, const QString &headsign) const
{
    return merged(m_tripsById.value(tripId), m_headsignsByText.value(headsign));
}
