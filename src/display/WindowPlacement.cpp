#include "WindowPlacement.h"

#include <algorithm>

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

} // namespace WindowPlacement
