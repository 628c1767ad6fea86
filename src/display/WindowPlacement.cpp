#include "WindowPlacement.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace WindowPlacement {

bool isReachable(const QRect &window, const QList<QRect> &screens)
{
    const int needWidth = std::min(GrabSize, window.width());
    const int needHeight = std::min(GrabSize, window.height());
    return std::any_of(screens.cbegin(), screens.cend(), [&](const QRect &screen) {
        const QRect shared = window.intersected(screen);
        return shared.width() >= needWidth && shared.height() >= needHeight && !shared.isEmpty();
    });
}

std::optional<QPoint> uncoveredPlace(const QRect &window, const QRect &cover, const QRect &area)
{
    if (!window.intersects(cover)) {
        return window.topLeft();
    }
    // Along the other axis the window keeps its place as far as the area allows.
    const auto within = [](int from, int length, int first, int last) {
        return std::max(first, std::min(from, last + 1 - length));
    };
    const int x = within(window.x(), window.width(), area.left(), area.right());
    const int y = within(window.y(), window.height(), area.top(), area.bottom());
    const std::array<QPoint, 4> beside = {QPoint(x, cover.bottom() + 1), QPoint(x, cover.top() - window.height()),
                                          QPoint(cover.right() + 1, y), QPoint(cover.left() - window.width(), y)};
    std::optional<QPoint> nearest;
    int nearestDistance = 0;
    for (const QPoint &place : beside) {
        if (!area.contains(QRect(place, window.size()))) {
            continue;
        }
        const int distance = std::abs(place.x() - window.x()) + std::abs(place.y() - window.y());
        if (!nearest || distance < nearestDistance) {
            nearest = place;
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace WindowPlacement
