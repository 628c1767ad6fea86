#pragma once

#include <QString>

#include <optional>

// The value of a "--route N[-SECTION]" option: a route number of up to five
// digits and a section of up to three, 1 when left out.
struct RouteArgument
{
    QString route;
    QString section;

    // Nothing, with the message for the command line in `error`, when
    // `text` is not of that form.
    static std::optional<RouteArgument> parse(const QString &text, QString &error);
};
