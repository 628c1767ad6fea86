#pragma once

#include <QList>
#include <QString>

// Where the cells of a stop name go on the strip. A cell holds two bytes of
// the name's code page 932 form (one full-width or two half-width
// characters), cut every two bytes whatever the characters. Names of up to
// six cells stand still, spread over the 192-pixel column; longer ones are
// laid out cell after cell on a strip as long as the name, which scrolls.
class ChimeiLayout
{
public:
    static constexpr int ColumnHeight = 192;
    static constexpr int CellHeight = 32;
    static constexpr int MaxStillCells = 6;
    static constexpr int CellLeft = 2;

    struct Cell
    {
        int top = 0;   // pixels from the strip's top
        QString piece; // the two bytes (or the last single byte), decoded
    };

    // `mode` 2 spaces a two-cell name with one empty cell between its
    // characters, any other value with two.
    ChimeiLayout(const QString &text, int mode);

    // Whole cells of the name (a trailing single byte does not count).
    int cellCount() const { return m_cellCount; }
    bool scrolls() const { return m_cellCount > MaxStillCells; }
    int stripHeight() const { return scrolls() ? CellHeight * m_cellCount : ColumnHeight; }
    const QList<Cell> &cells() const { return m_cells; }

private:
    int m_cellCount = 0;
    QList<Cell> m_cells;
};
