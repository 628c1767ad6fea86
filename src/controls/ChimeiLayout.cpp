#include "ChimeiLayout.h"

#include "formats/Cp932.h"

#include <algorithm>

namespace {

struct Spacing
{
    int firstTop;
    int pitch;
};

Spacing spacingFor(int cellCount, int mode)
{
    switch (cellCount) {
    case 0:
        return {0, 0}; // a single half-width character, at the top
    case 1:
        return {80, 0}; // centred
    case 2:
        return mode == 2 ? Spacing{48, 64} : Spacing{32, 96};
    case 3:
        return {16, 64};
    case 4:
        return {8, 48};
    case 5:
        return {4, 38};
    default:
        return {0, ChimeiLayout::CellHeight}; // cells touching
    }
}

// The quotient rounded toward minus infinity (divisor > 0).
int floorDiv(int dividend, int divisor)
{
    return dividend / divisor - (dividend % divisor < 0 ? 1 : 0);
}

} // namespace

ChimeiLayout::ChimeiLayout(const QString &text, int mode)
    : m_bytes(Cp932::encode(text))
    , m_cellCount(static_cast<int>(m_bytes.size() / 2))
{
    const Spacing spacing = spacingFor(m_cellCount, mode);
    m_firstTop = spacing.firstTop;
    m_pitch = spacing.pitch;
}

ChimeiLayout::Cell ChimeiLayout::cell(int index) const
{
    return {m_firstTop + index * m_pitch, Cp932::MidB(m_bytes, 2 * index + 1, 2)};
}

QList<ChimeiLayout::Cell> ChimeiLayout::cellsBetween(int fromY, int toY) const
{
    const int pieces = static_cast<int>((m_bytes.size() + 1) / 2);
    // Cell i covers the rows [top(i), top(i) + CellHeight); with no pitch
    // every cell stands at the first top.
    int first = 0;
    int last = pieces - 1;
    if (m_pitch > 0) {
        first = std::max(first, floorDiv(fromY - CellHeight - m_firstTop, m_pitch) + 1);
        last = std::min(last, floorDiv(toY - 1 - m_firstTop, m_pitch));
    } else if (m_firstTop >= toY || m_firstTop + CellHeight <= fromY) {
        return {};
    }
    QList<Cell> cells;
    if (last >= first) {
        cells.reserve(last - first + 1);
    }
    for (int i = first; i <= last; ++i) {
        cells.append(cell(i));
    }
    return cells;
}
