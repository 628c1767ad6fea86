#pragma once

#include <QRect>

// The geometry of the display window's board: 98 positions in 14 columns and
// 7 rows, each a ticket-number label above a four-digit fare cell. Positions
// are in pixels (the design's twips divided by 15).
namespace BoardLayout {

constexpr int Positions = 98;
constexpr int Columns = 14;
constexpr int Rows = 7;
constexpr int TwipsPerPixel = 15;

constexpr QSize WindowSize{13815 / TwipsPerPixel, 4605 / TwipsPerPixel};

int rowOf(int position);    // 1..7
int columnOf(int position); // 1..14

QRect labelRect(int position);
QRect cellRect(int position);

// The hidden index-0 cell, the clock cells and the stop-name strip.
QRect hiddenCellRect();
QRect clockHoursRect();
QRect clockMinutesRect();
QRect stopNameRect();
// The とまります lamp, at the foot of the stop-name column, below its
// "まで" and clear of the fares.
QRect stopRequestRect();

// A position in twips as the settings file keeps it: the nearest integer,
// ties to even (1234.5 -> 1234, 1235.5 -> 1236).
qint32 roundTwips(double twips);

// A twips rectangle (left, top, width, height) in pixels.
constexpr QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

} // namespace BoardLayout
