#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// One stop of a route: the bus standing at that stop.
struct StopRecord
{
    static constexpr int ColumnCount = 150;

    // The stop name (停名), decoded from code page 932; bytes that are not
    // valid there show as "?" so the author sees where the data is wrong.
    QString name;
    // The ticket number (整理券番号) drawn at this stop.
    qint16 ticketNumber = 0;
    // Columns 1..150 at [0..149]: column c is the fare shown at board
    // position c, -1 for none; any column may also be a selector or an
    // information number.
    std::array<qint16, ColumnCount> columns{};

    // Column c, 1-based; 0 for a column outside 1..150.
    qint16 column(int c) const;

    bool operator==(const StopRecord &) const = default;
};
