#pragma once

#include <QtGlobal>

#include <array>

// A 16 x 16 field of dots, each lit or unlit: one character cell of the
// stop-name strip. Row y holds dot x in bit (15 - x), so a row reads left to
// right like the bitmap fonts it comes from.
class Dot16Mask
{
public:
    static constexpr int Size = 16;

    bool lit(int x, int y) const
    {
        return inside(x, y) && (m_rows[y] >> (Size - 1 - x) & 1u);
    }

    // Dots outside the field are dropped.
    void set(int x, int y)
    {
        if (inside(x, y)) {
            m_rows[y] |= static_cast<quint16>(1u << (Size - 1 - x));
        }
    }

    bool isEmpty() const
    {
        for (quint16 row : m_rows) {
            if (row) {
                return false;
            }
        }
        return true;
    }

    // The same dots moved by (dx, dy); what leaves the field is lost.
    Dot16Mask shifted(int dx, int dy) const
    {
        Dot16Mask moved;
        for (int y = 0; y < Size; ++y) {
            for (int x = 0; x < Size; ++x) {
                if (lit(x, y)) {
                    moved.set(x + dx, y + dy);
                }
            }
        }
        return moved;
    }

    // Every lit dot joined by its right-hand neighbour: strokes one dot wider.
    Dot16Mask emboldened() const
    {
        Dot16Mask bold = *this;
        for (int y = 0; y < Size; ++y) {
            bold.m_rows[y] |= static_cast<quint16>(m_rows[y] >> 1);
        }
        return bold;
    }

    Dot16Mask &operator|=(const Dot16Mask &other)
    {
        for (int y = 0; y < Size; ++y) {
            m_rows[y] |= other.m_rows[y];
        }
        return *this;
    }

    bool operator==(const Dot16Mask &other) const = default;

private:
    static bool inside(int x, int y) { return x >= 0 && x < Size && y >= 0 && y < Size; }

    std::array<quint16, Size> m_rows{};
};
