#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Where the cells of a stop name go on the strip. A cell holds two bytes of
// the name's code page 932 form (one full-width or two half-width
// characters), cut every two bytes whatever the characters. Names of up to
// six cells stand still, spread over the 192-pixel column; longer ones are
// laid out cell after cell on a strip as long as the name, which scrolls.
//
// The name is converted once; cells are cut from it when asked for, so a
// long name costs only the cells that are drawn.
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

    // No name: no cells on a still strip.
    ChimeiLayout() = default;
    // `mode` 2 spaces a two-cell name with one empty cell between its
    // characters, any other value with two.
    ChimeiLayout(const QString &text, int mode);

    // Whole cells of the name (a trailing single byte does not count).
    int cellCount() const { return m_cellCount; }
    bool scrolls() const { return m_cellCount > MaxStillCells; }
    int stripHeight() const { return scrolls() ? CellHeight * m_cellCount : ColumnHeight; }
    // The cells that reach into the rows [fromY, toY) of the strip, in the
    // order they are drawn; a trailing single byte makes a cell of its own.
    QList<Cell> cellsBetween(int fromY, int toY) const;

private:
    Cell cell(int index) const;

    QByteArray m_bytes; // the name in code page 932
    int m_cellCount = 0;
    int m_firstTop = 0;
    int m_pitch = 0;
};
