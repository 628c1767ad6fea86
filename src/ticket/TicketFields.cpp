#include "TicketFields.h"

#include <array>

namespace {

struct FieldName
{
    TicketField field;
    const char *name;
};

constexpr std::array<FieldName, 13> FieldNames{{
    {TicketField::Number, "number"},
    {TicketField::StopName, "stop"},
    {TicketField::Date, "date"},
    {TicketField::Year, "year"},
    {TicketField::Month, "month"},
    {TicketField::Day, "day"},
    {TicketField::Time, "time"},
    {TicketField::Hour, "hour"},
    {TicketField::Minute, "minute"},
    {TicketField::Second, "second"},
    {TicketField::Route, "route"},
    {TicketField::Company, "company"},
    {TicketField::Position, "position"},
}};

// The date comes as month-day-year from the system clock and as
// year/month/day when the options fix it.
QDate parseDate(const QString &text)
{
    QDate date = QDate::fromString(text, QStringLiteral("MM-dd-yyyy"));
    if (!date.isValid()) {
        date = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    }
    return date;
}

QString padded(qint64 value, int digits)
{
    const QString plain = QString::number(qAbs(value)).rightJustified(digits, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + plain : plain;
}

} // namespace

TicketFields::TicketFields(const TicketRequest &request, const QStringList &companies)
    : m_request(request)
    , m_company(request.companyIndex >= 0 && request.companyIndex < companies.size()
                    ? companies.at(request.companyIndex)
                    : QString())
    , m_date(parseDate(request.dateText))
    , m_time(QTime::fromString(request.timeText, QStringLiteral("HH:mm:ss")))
{
}

std::optional<TicketField> TicketFields::fieldNamed(QStringView name)
{
    for (const FieldName &entry : FieldNames) {
        if (name == QLatin1String(entry.name)) {
            return entry.field;
        }
    }
    return std::nullopt;
}

bool TicketFields::isNumeric(TicketField field)
{
    switch (field) {
    case TicketField::StopName:
    case TicketField::Date:
    case TicketField::Time:
    case TicketField::Company:
        return false;
    default:
        return true;
    }
}

bool TicketFields::isDate(TicketField field)
{
    return field == TicketField::Date || field == TicketField::Year || field == TicketField::Month
        || field == TicketField::Day;
}

bool TicketFields::isTime(TicketField field)
{
    return field == TicketField::Time || field == TicketField::Hour || field == TicketField::Minute
        || field == TicketField::Second;
}

std::optional<qint64> TicketFields::number(TicketField field) const
{
    const bool haveDate = m_date.isValid();
    const bool haveTime = m_time.isValid();
    switch (field) {
    case TicketField::Number:
        return m_request.ticketNumber;
    case TicketField::Route:
        return m_request.routeNumber;
    case TicketField::Position:
        return m_request.stopPosition;
    case TicketField::Year:
        return haveDate ? std::optional<qint64>(m_date.year()) : std::nullopt;
    case TicketField::Month:
        return haveDate ? std::optional<qint64>(m_date.month()) : std::nullopt;
    case TicketField::Day:
        return haveDate ? std::optional<qint64>(m_date.day()) : std::nullopt;
    case TicketField::Hour:
        return haveTime ? std::optional<qint64>(m_time.hour()) : std::nullopt;
    case TicketField::Minute:
        return haveTime ? std::optional<qint64>(m_time.minute()) : std::nullopt;
    case TicketField::Second:
        return haveTime ? std::optional<qint64>(m_time.second()) : std::nullopt;
    default:
        return std::nullopt;
    }
}

QString TicketFields::text(TicketField field, int padDigits) const
{
    switch (field) {
    case TicketField::StopName:
        return m_request.stopName;
    case TicketField::Company:
        return m_company;
    case TicketField::Date:
        // A date text in neither form is printed as it came.
        return m_date.isValid() ? m_date.toString(QStringLiteral("yyyy/MM/dd")) : m_request.dateText;
    case TicketField::Time:
        return m_time.isValid() ? m_time.toString(QStringLiteral("HH:mm")) : m_request.timeText;
    default:
        break;
    }
    const std::optional<qint64> value = number(field);
    return value ? padded(*value, padDigits) : QString();
}

QString TicketFields::toFullWidth(const QString &text)
{
    QString wide = text;
    for (QChar &c : wide) {
        if (c == QLatin1Char(' ')) {
            c = QChar(0x3000);
        } else if (c.unicode() >= 0x21 && c.unicode() <= 0x7E) {
            c = QChar(c.unicode() - 0x21 + 0xFF01);
        }
    }
    return wide;
}
