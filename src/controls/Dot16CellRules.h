#pragma once

#include "Dot16Glyphs.h"

#include <QPoint>
#include <QString>

// How one cell of the vertical stop-name strip is drawn: where the glyph sits
// in its cell, whether it is turned for vertical writing, and which face it
// takes.
namespace Dot16CellRules {

struct Placement
{
    QPoint offset;            // of the glyph inside its cell, in dots
    bool transposed = false;  // rows become columns: brackets and arrows
};

// The placement of a piece (the whole piece is compared). The long-vowel mark
// "ー" becomes the vertical stroke "丨", so `piece` may be replaced.
Placement placementFor(QString &piece, int fontMode);

// The face for a piece whose first character has the code page 932 code
// `firstCharCode` (signed 16-bit: double-byte characters are negative).
// Font modes: 0 all gothic, 1 all mincho, 2 kanji gothic and the rest
// mincho, 3 kanji mincho and the rest gothic, 4 full-width digits and Latin
// letters gothic and the rest mincho; any other value draws gothic.
Dot16Glyphs::Face faceFor(int fontMode, qint16 firstCharCode);

} // namespace Dot16CellRules
