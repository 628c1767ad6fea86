#include "RouteNumber.h"

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<RouteNumber> RouteNumber::parse(QStringView text)
{
    if (text.isEmpty() || text.size() > MaxDigits) {
        return std::nullopt;
    }
    qulonglong value = 0;
    for (const QChar c : text) {
        if (!isAsciiDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<qulonglong>(c.unicode() - u'0');
    }
    return RouteNumber(value);
}

std::optional<RouteNumber> RouteNumber::fromName(QStringView name)
{
    // Full-width digits count as the digits they are.
    const QString plain = name.toString().normalized(QString::NormalizationForm_KC);
    qsizetype first = -1;
    qsizetype end = -1;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (!isAsciiDigit(plain.at(i))) {
            continue;
        }
        if (first >= 0 && i > end) {
            return std::nullopt; // a second run
        }
        if (first < 0) {
            first = i;
        }
        end = i + 1;
    }
    return first < 0 ? std::nullopt : parse(QStringView(plain).sliced(first, end - first));
}

RouteNumber RouteNumber::fromEntry(QStringView text)
{
    // Texts too long for 64 bits cannot come from the panel's entry, and
    // saturate.
    qulonglong value = 0;
    for (const QChar c : text) {
        if (c.isDigit()) {
            value = value > 1'000'000'000'000ULL ? value : value * 10 + static_cast<qulonglong>(c.digitValue());
        }
    }
    return RouteNumber(value);
}
