#include "DisplayScale.h"

#include "BoardLayout.h"

#include <algorithm>
#include <cmath>

namespace DisplayScale {

bool isStep(int percent)
{
    return std::find(Steps.cbegin(), Steps.cend(), percent) != Steps.cend();
}

int stepUp(int percent)
{
    const auto next = std::upper_bound(Steps.cbegin(), Steps.cend(), percent);
    return next == Steps.cend() ? Steps.back() : *next;
}

int stepDown(int percent)
{
    const auto atOrAbove = std::lower_bound(Steps.cbegin(), Steps.cend(), percent);
    return atOrAbove == Steps.cbegin() ? Steps.front() : *(atOrAbove - 1);
}

QSize windowSize(int percent)
{
    return mapped(QRect(QPoint(0, 0), BoardLayout::WindowSize), percent / 100.0).size();
}

QRect mapped(const QRect &design, qreal scale, QPoint origin)
{
    const auto at = [scale](int design) { return static_cast<int>(std::lround(design * scale)); };
    const int left = at(design.left());
    const int top = at(design.top());
    return QRect(QPoint(left, top) + origin,
                 QSize(at(design.left() + design.width()) - left, at(design.top() + design.height()) - top));
}

Fit fitInto(const QSize &area)
{
    const QSize design = BoardLayout::WindowSize;
    Fit fit;
    fit.scale = std::min(area.width() / qreal(design.width()), area.height() / qreal(design.height()));
    const QSize board = mapped(QRect(QPoint(0, 0), design), fit.scale).size().boundedTo(area);
    fit.board = QRect(QPoint((area.width() - board.width()) / 2, (area.height() - board.height()) / 2), board);
    return fit;
}

int fullScreenIndex(qsizetype screens, int monitor)
{
    if (screens == 0) {
        return -1;
    }
    return monitor >= 1 && monitor <= screens ? monitor - 1 : 0;
}

} // namespace DisplayScale
