#include "TicketBarcode.h"

#include "ItfBarcode.h"
#include "Nw7Barcode.h"

namespace {

qint64 powerOfTen(int digits)
{
    qint64 value = 1;
    for (int i = 0; i < digits; ++i) {
        value *= 10;
    }
    return value;
}

} // namespace

int TicketBarcode::digitCount() const
{
    int count = 0;
    for (const Part &part : parts) {
        count += part.field ? part.digits : int(part.fixedDigits.size());
    }
    return count;
}

int TicketBarcode::barsWidth() const
{
    return symbology == Symbology::Nw7 ? Nw7Barcode::totalWidth(digitCount(), narrow, wide)
                                       : ItfBarcode::totalWidth(digitCount(), narrow, wide);
}

QString TicketBarcode::digitsFor(const TicketFields &fields) const
{
    QString digits;
    for (const Part &part : parts) {
        if (!part.field) {
            digits += part.fixedDigits;
            continue;
        }
        const std::optional<qint64> value = fields.number(*part.field);
        if (!value || *value < 0 || *value >= powerOfTen(part.digits)) {
            return {};
        }
        digits += QString::number(*value).rightJustified(part.digits, QLatin1Char('0'));
    }
    return digits;
}

QString TicketBarcode::printedDigits(const QString &digits) const
{
    return symbology == Symbology::Nw7 ? start + digits + stop : ItfBarcode(digits).encodedDigits();
}

QList<int> TicketBarcode::barWidths(const QString &digits) const
{
    if (digits.isEmpty()) {
        return {};
    }
    return symbology == Symbology::Nw7 ? Nw7Barcode(digits, start, stop).barWidths(narrow, wide)
                                       : ItfBarcode(digits).barWidths(narrow, wide);
}

std::optional<qint64> TicketBarcode::capacityOf(TicketField field) const
{
    std::optional<qint64> capacity;
    for (const Part &part : parts) {
        if (part.field == field) {
            const qint64 highest = powerOfTen(part.digits) - 1;
            capacity = capacity ? qMin(*capacity, highest) : highest;
        }
    }
    return capacity;
}
