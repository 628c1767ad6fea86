#include "Dot16CellRules.h"

namespace Dot16CellRules {

namespace {

// 0x889F, the first kanji of code page 932, and the full-width digits and
// Latin letters 0x824F..0x829A, as signed 16-bit codes.
constexpr qint16 FirstKanji = -30561;
constexpr qint16 FirstFullWidthAlnum = -32177;
constexpr qint16 LastFullWidthAlnum = -32102;

// Brackets, arrows and marks that lie on their side in vertical writing.
bool isTurned(const QString &piece)
{
    static const QString turned = QStringLiteral("（）『』〔〕「」［］＜＞｛｝〈〉《》【】～＝→←⇒⇔");
    return piece.size() == 1 && turned.contains(piece.at(0));
}

} // namespace

Placement placementFor(QString &piece, int fontMode)
{
    if (piece == u"ー") {
        piece = QStringLiteral("丨");
        return {};
    }
    if (piece == u"申" || piece == u"山") {
        // These two sit a dot left of centre in the gothic glyphs.
        return {(fontMode == 0 || fontMode == 2) ? QPoint(1, 0) : QPoint(0, 0), false};
    }
    if (isTurned(piece)) {
        return {QPoint(0, 0), true};
    }
    if (piece == u"。" || piece == u"、") {
        // Vertical writing puts the marks at the upper right of their cell.
        return {QPoint(10, -10), false};
    }
    return {};
}

Dot16Glyphs::Face faceFor(int fontMode, qint16 firstCharCode)
{
    using Face = Dot16Glyphs::Face;
    switch (fontMode) {
    case 1:
        return Face::Mincho;
    case 2:
        return firstCharCode >= FirstKanji ? Face::Gothic : Face::Mincho;
    case 3:
        return firstCharCode < FirstKanji ? Face::Gothic : Face::Mincho;
    case 4:
        return (firstCharCode >= FirstFullWidthAlnum && firstCharCode <= LastFullWidthAlnum) ? Face::Gothic
                                                                                             : Face::Mincho;
    default:
        return Face::Gothic;
    }
}

} // namespace Dot16CellRules
