#pragma once

#include <QString>
#include <QtGlobal>

// What the fare display and the control panel know about the route that is set.
struct RouteState
{
    // The route digits exactly as entered, leading zeros kept.
    QString RouteText;
    // The section entered at route setting, 1..300: the first fare cell filled.
    qint16 StartSection = 1;
    // Zero-based position of the current stop; the stop shown is CurrentIndex + 1.
    qint16 CurrentIndex = 0;
    // Records of the route in the fare table; only a successful load changes it.
    qint16 RecordCount = 0;
    // The ticket date held since route setting.
    QString HeldDate;

    bool operator==(const RouteState &) const = default;
};
