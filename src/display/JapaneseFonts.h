#pragma once

#include <QFont>

// The Japanese face names that stored settings use ("ＭＳ Ｐゴシック",
// "ＭＳ ゴシック", "ＭＳ 明朝") mapped to the IPA fonts installed here.
namespace JapaneseFonts {

void installSubstitutions();

// A font sized in points as the 96-dpi panel was designed, so its pixel
// size is the same on every screen.
QFont panelFont(const QString &family, qreal points, bool bold);

} // namespace JapaneseFonts
