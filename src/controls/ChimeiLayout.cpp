#include "ChimeiLayout.h"

#include "companion/Cp932.h"

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

} // namespace

ChimeiLayout::ChimeiLayout(const QString &text, int mode)
{
    const int bytes = Cp932::LenB_ASCII(text);
    m_cellCount = bytes / 2;
    const Spacing spacing = spacingFor(m_cellCount, mode);
    const int pieces = (bytes + 1) / 2;
    m_cells.reserve(pieces);
    for (int i = 0; i < pieces; ++i) {
        m_cells.append({spacing.firstTop + i * spacing.pitch, Cp932::MidB_ASCII(text, 2 * i + 1, 2)});
    }
}
