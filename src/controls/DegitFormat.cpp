#include "DegitFormat.h"

#include <cmath>
#include <optional>

namespace {

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// The numeric reading of a value: a number, or a text that reads as one
// (surrounding spaces allowed). Empty text and other texts have none.
std::optional<double> numericValue(const QVariant &v)
{
    if (isNumber(v)) {
        return v.toDouble();
    }
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (ok) {
            return d;
        }
    }
    return std::nullopt;
}

bool isEmptyText(const QVariant &v)
{
    return !v.isValid() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

// A text that reads as a number counts as that number in the zero handling,
// so "0" and "00" are zero and "-1" is minus one, as a fare cell fed from a
// text field would expect. A never-assigned value counts as zero too.
bool equals(const QVariant &v, double number)
{
    if (!v.isValid()) {
        return number == 0;
    }
    const std::optional<double> d = numericValue(v);
    return d && *d == number;
}

QVariant applyZeroMode(const QVariant &v, int zeroMode)
{
    const QVariant emptyText = QString();
    switch (zeroMode) {
    case 0:
        return (equals(v, 0) || isEmptyText(v)) ? emptyText : v;
    case 1:
        return (equals(v, 0) || isEmptyText(v)) ? QVariant(0) : v;
    case 2:
        if (equals(v, -1)) {
            return 0;
        }
        return equals(v, 0) ? emptyText : v;
    case 3:
        return (equals(v, -1) || equals(v, 0) || isEmptyText(v)) ? QVariant(0) : v;
    default:
        return v;
    }
}

// At least `digits` digits with leading zeros; fractions rounded half away
// from zero to a whole number. A negative `digits` fills nothing, as 0 does.
QString zeroFilled(double number, int digits)
{
    const double whole = std::round(number);
    const QString magnitude = QString::number(std::fabs(whole), 'f', 0).rightJustified(digits, u'0');
    return whole < 0 ? u'-' + magnitude : magnitude;
}

} // namespace

QString DegitFormat::plainText(const QVariant &value)
{
    if (!value.isValid()) {
        return {};
    }
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        return QString::number(value.toDouble(), 'g', 15);
    }
    return value.toString();
}

QString DegitFormat::litText(const QVariant &value) const
{
    QVariant v = applyZeroMode(value, zeroMode);
    if (missingFare != MissingFare::MinusOne && equals(v, -1)) {
        return missingFare == MissingFare::Dash ? QString(keta, u'-') : QString();
    }
    QString text = plainText(v);
    if (fillZero > 0) {
        if (const std::optional<double> d = numericValue(v)) {
            text = zeroFilled(*d, fillZero);
        }
    }
    if (shift >= 1) {
        text += QString(shift, u' ');
    }
    return text.right(keta);
}
