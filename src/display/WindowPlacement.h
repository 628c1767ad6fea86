#pragma once

#include <QList>
#include <QRect>

#include <optional>

// Whether a window restored to a saved place can still be reached: a monitor
// may have been removed or the display made smaller since the place was saved.
namespace WindowPlacement {

// How much of a window must lie on one screen to be grabbed and dragged back.
constexpr int GrabSize = 40;

// True when at least GrabSize x GrabSize pixels of the window (all of it,
// if it is smaller) lie on one of the screens.
bool isReachable(const QRect &window, const QList<QRect> &screens);

// Where `window` (frame included) goes so that `cover` no longer hides any
// of it, staying whole inside `area`: where it is when the two do not
// overlap, else the nearest place just below, above, right or left of
// `cover`. None when there is no room beside `cover` on `area`.
std::optional<QPoint> uncoveredPlace(const QRect &window, const QRect &cover, const QRect &area);

} // namespace WindowPlacement
