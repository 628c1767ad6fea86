#pragma once

#include <QJsonValue>

#include <optional>

namespace JsonNumber {

// The whole number a JSON value holds: a number without a fraction within
// min..max. None for anything else (text, true/false, 2.5, 1e300), so that
// the readers of JSON files agree on what an integer is.
std::optional<int> whole(const QJsonValue &value, int min, int max);

} // namespace JsonNumber
