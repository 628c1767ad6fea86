#include "BoardLayout.h"

#include <array>
#include <cmath>

namespace BoardLayout {

namespace {

// Twips, by row and by column.
constexpr std::array<int, Rows> LabelTops = {375, 945, 1500, 2040, 2610, 3165, 3720};
constexpr std::array<int, Rows> CellTops = {600, 1170, 1725, 2265, 2835, 3375, 3945};
constexpr std::array<int, Columns> CellLefts = {1425, 2295, 3150, 4020, 4890, 5745, 6615,
                                                7485, 8340, 9195, 10065, 10935, 11775, 12645};
constexpr std::array<int, Columns> LabelLefts = {1425, 2295, 3150, 4020, 4875, 5745, 6600,
                                                 7470, 8325, 9195, 10065, 10950, 11790, 12660};
constexpr int Width = 780;
constexpr int LabelHeight = 240;
constexpr int CellHeight = 300;

} // namespace

int rowOf(int position)
{
    return (position - 1) / Columns + 1;
}

int columnOf(int position)
{
    return (position - 1) % Columns + 1;
}

QRect labelRect(int position)
{
    return fromTwips(LabelLefts[columnOf(position) - 1], LabelTops[rowOf(position) - 1], Width, LabelHeight);
}

QRect cellRect(int position)
{
    return fromTwips(CellLefts[columnOf(position) - 1], CellTops[rowOf(position) - 1], Width, CellHeight);
}

qint32 roundTwips(double twips)
{
    return static_cast<qint32>(std::nearbyint(twips));
}

QRect hiddenCellRect()
{
    return fromTwips(2100, 30, 780, 300);
}

QRect clockHoursRect()
{
    return fromTwips(5445, 30, 390, 300);
}

QRect clockMinutesRect()
{
    return fromTwips(5850, 30, 390, 300);
}

QRect stopNameRect()
{
    return fromTwips(480, 885, 525, 2880);
}

QRect stopRequestRect()
{
    return fromTwips(165, 4155, 1155, 300);
}

} // namespace BoardLayout
