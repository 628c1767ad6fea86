#include "DisplayScale.h"

#include "BoardLayout.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace DisplayScale {

bool isStep(int percent)
{
    return std::find(Steps.cbegin(), Steps.cend(), percent) != Steps.cend();
}

QList<int> fittingSteps(const QSize &available)
{
    return fittingSteps(available, BoardLayout::WindowSize);
}

QList<int> fittingSteps(const QSize &available, const QSize &design)
{
    QList<int> fitting{Steps.front()};
    for (auto step = Steps.cbegin() + 1; step != Steps.cend(); ++step) {
        const QSize window = windowSize(*step, design);
        if (window.width() <= available.width() && window.height() <= available.height()) {
            fitting.append(*step);
        }
    }
    return fitting;
}

bool isPanelStep(int percent)
{
    return std::find(PanelSteps.cbegin(), PanelSteps.cend(), percent) != PanelSteps.cend();
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
    return windowSize(percent, BoardLayout::WindowSize);
}

QSize windowSize(int percent, const QSize &design)
{
    return mapped(QRect(QPoint(0, 0), design), percent / 100.0).size();
}

QRect mapped(const QRect &design, qreal scale, QPoint origin)
{
    const auto at = [scale](int design) { return static_cast<int>(std::lround(design * scale)); };
    const int left = at(design.left());
    const int top = at(design.top());
    return QRect(QPoint(left, top) + origin,
                 QSize(at(design.left() + design.width()) - left, at(design.top() + design.height()) - top));
}

QFont scaledFont(QFont design, qreal scale)
{
    if (design.pixelSize() > 0) {
        design.setPixelSize(std::max(1, static_cast<int>(std::lround(design.pixelSize() * scale))));
    } else if (design.pointSizeF() > 0) {
        design.setPointSizeF(design.pointSizeF() * scale);
    }
    return design;
}

QString scaledStyleSheet(const QString &design, qreal scale)
{
    static const QRegularExpression length(QStringLiteral("(\\d+(?:\\.\\d+)?)px"));
    QString scaled;
    qsizetype from = 0;
    for (auto match = length.globalMatch(design); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const double designLength = found.captured(1).toDouble();
        const long pixels = designLength > 0 ? std::max(1L, std::lround(designLength * scale)) : 0L;
        scaled += QStringView(design).mid(from, found.capturedStart() - from);
        scaled += QString::number(pixels) + QStringLiteral("px");
        from = found.capturedEnd();
    }
    scaled += QStringView(design).mid(from);
    return scaled;
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
