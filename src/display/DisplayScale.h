#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QString>
#include <QSize>

#include <array>

// The arithmetic of the display's size: the window in steps of its design
// size (921 x 307 at 100 %), and the board fitted into a whole screen. The
// window's children keep their design rectangles and are placed by mapping
// them, so that every part is painted for the size it is shown at.
namespace DisplayScale {

// The window's steps, in per cent.
constexpr std::array<int, 6> Steps = {100, 125, 150, 200, 250, 300};
constexpr int Normal = 100;

bool isStep(int percent);

// The steps whose window fits whole into `available` (a screen's area less
// its task bars), smallest first. 100 % is always among them, even on a
// screen smaller than that: the display has no smaller size.
QList<int> fittingSteps(const QSize &available);
// The same for a window of another look, `design` at 100 %.
QList<int> fittingSteps(const QSize &available, const QSize &design);

// The control panel's steps: it is read up close, so it needs fewer.
constexpr std::array<int, 3> PanelSteps = {100, 150, 200};
bool isPanelStep(int percent);
// The next step up or down from `percent` (a value between steps goes to
// the neighbouring step); the end steps stay where they are.
int stepUp(int percent);
int stepDown(int percent);

// The window at `percent`: the design size scaled, rounded to whole pixels
// (125 % is 1151 x 384).
QSize windowSize(int percent);
QSize windowSize(int percent, const QSize &design);

// A design rectangle scaled by `scale` and moved by `origin`. Edges are
// rounded, not sizes, so that neighbouring rectangles stay neighbours.
QRect mapped(const QRect &design, qreal scale, QPoint origin = {});

// A font of the design at `scale`, in pixels or points as it was given.
QFont scaledFont(QFont design, qreal scale);

// A style sheet written for 100 % with every "Npx" length scaled, rounded
// to whole pixels; a length that is not zero stays at least 1 px, so that a
// hairline border never vanishes.
QString scaledStyleSheet(const QString &design, qreal scale);

// The board fitted into `area` at its design aspect ratio, centred: the
// largest scale that fits and the rectangle it covers.
struct Fit
{
    qreal scale = 1.0;
    QRect board;
};
Fit fitInto(const QSize &area);

// Which of `screens` screens full screen on monitor `monitor` (numbered
// from 1) uses, counted from 0: that one, or the first when there is no
// such monitor; -1 when there are no screens.
int fullScreenIndex(qsizetype screens, int monitor);

} // namespace DisplayScale
