#pragma once

#include <QString>

#include <optional>

// A value that an option control refused (a list position outside its list,
// a check box value other than 0 or 1). The operation that met it stops there
// and hands this to its caller, which reports it with the number and the
// description.
struct OptionError
{
    // The number under which the error is reported: an invalid property value.
    static constexpr int InvalidPropertyValue = 380;

    int number = InvalidPropertyValue;
    QString description;
};

// Empty when every value was taken.
using OptionResult = std::optional<OptionError>;
