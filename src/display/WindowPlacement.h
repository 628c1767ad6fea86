#pragma once

#include <QList>
#include <QRect>

// Whether a window restored to a saved place can still be reached: a monitor
// may have been removed or the display made smaller since the place was saved.
namespace WindowPlacement {

// How much of a window must lie on one screen to be grabbed and dragged back.
constexpr int GrabSize = 40;

// True when at least GrabSize x GrabSize pixels of the window (all of it,
// if it is smaller) lie on one of the screens.
bool isReachable(const QRect &window, const QList<QRect> &screens);

} // namespace WindowPlacement
