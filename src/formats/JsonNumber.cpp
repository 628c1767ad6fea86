#include "JsonNumber.h"

#include <cmath>

namespace JsonNumber {

std::optional<int> whole(const QJsonValue &value, int min, int max)
{
    if (!value.isDouble()) {
        return std::nullopt;
    }
    // The range first: converting a double beyond it to an integer is undefined.
    const double number = value.toDouble();
    if (!(number >= min && number <= max) || std::floor(number) != number) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

} // namespace JsonNumber
