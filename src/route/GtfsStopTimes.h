#pragma once

#include "GtfsFeed.h"

#include <QString>

#include <functional>
#include <optional>

// The one reader of stop_times.txt: the trips' stops for the importer and
// for the list of routes to choose from.
class GtfsStopTimes
{
public:
    // A stop one trip makes, as the row gives it.
    struct Row
    {
        QString trip;
        QString stop;
        QString sequenceText;
        std::optional<qint64> sequence; // none when stop_sequence is no whole number
        bool boards = true;             // pickup_type is not 1 (no pickup)
        bool alights = true;            // drop_off_type is not 1 (no drop off)
        QString arrival;                // arrival_time as written, empty when none
        QString departure;              // departure_time likewise
    };

    // Gives `take` each row of a trip that `wanted` accepts; `take` returns
    // what is wrong with the row, or an empty text. False with `error` set
    // when the file or one of its required columns is missing or a row is
    // bad (the file and line named).
    static bool read(GtfsFeed &feed, const std::function<bool(const QString &trip)> &wanted,
                     const std::function<QString(const Row &row)> &take, QString &error);
};
