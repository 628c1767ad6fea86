#include "FareRuleText.h"

#include <cmath>
#include <optional>

namespace FareRuleText {

namespace {

QString unreadableLine(const QString &table, int line, const QString &text)
{
    return QStringLiteral("%1 %2 行目「%3」を読めません").arg(table).arg(line).arg(text.trimmed());
}

std::optional<int> fareValue(const QString &text)
{
    bool ok = false;
    const int fare = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(fare) : std::nullopt;
}

} // namespace

int tenths(double km)
{
    return static_cast<int>(std::lround(km * 10));
}

QString bandsText(const std::vector<FareRule::Band> &bands)
{
    QStringList lines;
    for (const FareRule::Band &band : bands) {
        lines << QStringLiteral("%1,%2").arg(QString::number(band.upToTenths / 10.0, 'f', 1)).arg(band.fare);
    }
    return lines.join(QLatin1Char('\n'));
}

std::vector<FareRule::Band> bandsFromText(const QString &text, QStringList &unreadable)
{
    std::vector<FareRule::Band> bands;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = lines.at(i).split(QLatin1Char(','));
        bool kmOk = false;
        const double km = fields.value(0).trimmed().toDouble(&kmOk);
        const std::optional<int> fare = fareValue(fields.value(1));
        if (fields.size() == 2 && kmOk && km >= 0 && fare) {
            bands.push_back({tenths(km), *fare});
        } else {
            unreadable << unreadableLine(QStringLiteral("距離帯"), i + 1, lines.at(i));
        }
    }
    return bands;
}

QString zoneFaresText(const std::vector<int> &fares)
{
    QStringList texts;
    for (const int fare : fares) {
        texts << QString::number(fare);
    }
    return texts.join(QLatin1Char(','));
}

std::vector<int> zoneFaresFromText(const QString &text, QStringList &unreadable)
{
    std::vector<int> fares;
    const QStringList fields = text.split(QLatin1Char(','));
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).trimmed().isEmpty()) {
            continue;
        }
        if (const std::optional<int> fare = fareValue(fields.at(i))) {
            fares.push_back(*fare);
        } else {
            unreadable << QStringLiteral("ゾーン数ごとの運賃 %1 番目「%2」を読めません").arg(i + 1).arg(fields.at(i).trimmed());
        }
    }
    return fares;
}

QString zonePairsText(const QHash<QPair<QString, QString>, int> &pairs)
{
    QStringList lines;
    for (auto it = pairs.cbegin(); it != pairs.cend(); ++it) {
        lines << QStringLiteral("%1,%2,%3").arg(it.key().first, it.key().second).arg(it.value());
    }
    lines.sort();
    return lines.join(QLatin1Char('\n'));
}

QHash<QPair<QString, QString>, int> zonePairsFromText(const QString &text, QStringList &unreadable)
{
    QHash<QPair<QString, QString>, int> pairs;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = lines.at(i).split(QLatin1Char(','));
        const std::optional<int> fare = fareValue(fields.value(2));
        if (fields.size() == 3 && !fields.at(0).trimmed().isEmpty() && !fields.at(1).trimmed().isEmpty() && fare) {
            pairs.insert({fields.at(0).trimmed(), fields.at(1).trimmed()}, *fare);
        } else {
            unreadable << unreadableLine(QStringLiteral("ゾーン間の運賃"), i + 1, lines.at(i));
        }
    }
    return pairs;
}

} // namespace FareRuleText
