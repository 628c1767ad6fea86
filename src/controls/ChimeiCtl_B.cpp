#include "ChimeiCtl_B.h"

#include "ColorRef.h"
#include "Dot16CellRules.h"
#include "Dot16Glyphs.h"
#include "PropertyBag.h"
#include "SteadyScrollClock.h"
#include "formats/Cp932.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

// The 16-bit properties correct what does not fit rather than wrap.
int to16Bit(int value)
{
    return std::clamp(value, -32768, 32767);
}

constexpr QSize RaisedFrameSize{37, 195};
constexpr QSize FlatFrameSize{35, 185};

// The part of the strip kept drawn: enough whole cells to cover the tallest
// frame from the cell at the frame's top edge on.
constexpr int StripPartHeight =
    (RaisedFrameSize.height() / ChimeiLayout::CellHeight + 2) * ChimeiLayout::CellHeight;

} // namespace

ChimeiCtl_B::ChimeiCtl_B(QWidget *parent)
    : QWidget(parent)
    , m_glyphs(std::make_unique<Dot16Glyphs>())
    , m_wallClock(std::make_unique<SteadyScrollClock>())
    , m_clock(m_wallClock.get())
    , m_strip(StripWidth, ChimeiLayout::ColumnHeight, QImage::Format_RGB32)
{
    setAccessibleDescription(QStringLiteral("停留所名"));
    resize(sizeHint());
    eraseStrip();
    m_scrollTimer.setSingleShot(true);
    m_scrollTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_scrollTimer, &QTimer::timeout, this, &ChimeiCtl_B::advanceScroll);
}

ChimeiCtl_B::~ChimeiCtl_B() = default;

QSize ChimeiCtl_B::sizeHint() const
{
    return {35, ChimeiLayout::ColumnHeight};
}

void ChimeiCtl_B::assigned()
{
    emit propertiesChanged();
}

void ChimeiCtl_B::eraseStrip()
{
    m_name = ChimeiLayout();
    m_strip.fill(ColorRef::toQColor(m_backColor));
    m_scaledStrip = QImage();
    update();
}

void ChimeiCtl_B::setScale(qreal scale)
{
    if (scale <= 0 || qFuzzyCompare(scale, m_scale)) {
        return;
    }
    m_scale = scale;
    m_scaledStrip = QImage();
    update();
}

QImage ChimeiCtl_B::paintedStrip()
{
    if (qFuzzyCompare(m_scale, 1.0)) {
        return m_strip;
    }
    if (m_scaledStrip.isNull()) {
        const QRgb back = ColorRef::toQColor(m_backColor).rgb();
        m_scaledStrip = QImage(qRound(m_strip.width() * m_scale), qRound(m_strip.height() * m_scale), QImage::Format_RGB32);
        m_scaledStrip.fill(back);
        QPainter painter(&m_scaledStrip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        // A lamp fills most of its two-pixel pitch, so that neighbours stay apart.
        const qreal diameter = 1.6 * m_scale;
        for (int y = 0; y < m_strip.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(m_strip.constScanLine(y));
            for (int x = 0; x < m_strip.width(); ++x) {
                if (line[x] != back) {
                    painter.setBrush(QColor::fromRgb(line[x]));
                    painter.drawEllipse(QPointF((x + 0.5) * m_scale, (y + 0.5) * m_scale), diameter / 2, diameter / 2);
                }
            }
        }
    }
    return m_scaledStrip;
}

void ChimeiCtl_B::setBackColor(quint32 color)
{
    m_backColor = color;
    eraseStrip();
    assigned();
}

void ChimeiCtl_B::setForeColor(quint32 color)
{
    m_foreColor = color;
    assigned();
}

void ChimeiCtl_B::setSpeed(int speed)
{
    m_speed = to16Bit(speed);
    assigned();
}

void ChimeiCtl_B::setScrollStartWait(int milliseconds)
{
    m_scrollStartWait = milliseconds;
    assigned();
}

void ChimeiCtl_B::setMode(int mode)
{
    m_mode = to16Bit(mode);
    assigned();
}

void ChimeiCtl_B::setAppearance(int appearance)
{
    m_appearance = to16Bit(appearance);
    m_frameSize = m_appearance != 0 ? RaisedFrameSize : FlatFrameSize;
    eraseStrip();
    assigned();
}

void ChimeiCtl_B::setFontMode(int fontMode)
{
    m_fontMode = to16Bit(fontMode);
    assigned();
}

void ChimeiCtl_B::setFontBold(bool bold)
{
    m_fontBold = bold;
    assigned();
}

void ChimeiCtl_B::setClock(ScrollClock *clock)
{
    m_clock = clock ? clock : m_wallClock.get();
}

void ChimeiCtl_B::SetChimei(const QString &text)
{
    // A screen reader reads the strip as the name it shows.
    setAccessibleName(text);
    eraseStrip();
    if (text.isEmpty()) {
        // A running scroll goes on moving the blank strip.
        moveStrip(0);
        return;
    }
    stopScrolling();

    m_name = ChimeiLayout(text, m_mode);
    m_nameStyle = {m_foreColor, m_fontMode, m_fontBold};
    m_stripHeight = m_name.stripHeight();
    m_stripPartTop = 0;
    m_strip = stripPart(0, std::min(m_stripHeight, StripPartHeight));
    m_scaledStrip = QImage();
    if (!m_name.scrolls()) {
        moveStrip(0);
        return;
    }
    // The name waits below the frame, then rises into it.
    const qint64 now = m_clock->nowMs();
    m_motion.start(now, m_frameSize.height(), m_stripHeight, m_scrollStartWait);
    moveStrip(m_motion.stripTop());
    m_scrolling = true;
    scheduleNextFrame(now);
}

void ChimeiCtl_B::stopScrolling()
{
    m_scrollTimer.stop();
    m_scrolling = false;
}

void ChimeiCtl_B::advanceScroll()
{
    if (!m_scrolling) {
        return;
    }
    const qint64 now = m_clock->nowMs();
    if (m_motion.startPauseEndsBy(now) && m_speed == 0) {
        setSpeed(1); // a name never starts out frozen
    }
    m_motion.advanceTo(now, m_speed, m_scrollStartWait);
    if (m_motion.stripTop() != m_stripTop) {
        moveStrip(m_motion.stripTop());
    }
    scheduleNextFrame(now);
}

void ChimeiCtl_B::moveStrip(int top)
{
    m_stripTop = top;
    // The rows the frame shows stay inside the part that is drawn; when they
    // leave it, the part is drawn afresh from the cell at the frame's top.
    const int shownFrom = std::clamp(-top, 0, m_stripHeight);
    const int shownTo = std::clamp(m_frameSize.height() - top, 0, m_stripHeight);
    const int partHeight = m_strip.height();
    if (shownFrom < m_stripPartTop || shownTo > m_stripPartTop + partHeight) {
        m_stripPartTop = std::clamp(shownFrom - shownFrom % ChimeiLayout::CellHeight, 0,
                                    std::max(0, m_stripHeight - partHeight));
        m_strip = stripPart(m_stripPartTop, partHeight);
        m_scaledStrip = QImage();
    }
    update();
}

QImage ChimeiCtl_B::stripPart(int top, int height) const
{
    QImage part(StripWidth, height, QImage::Format_RGB32);
    part.fill(ColorRef::toQColor(m_backColor));
    for (ChimeiLayout::Cell cell : m_name.cellsBetween(top, top + height)) { // a copy: the piece may be replaced
        drawCell(part, ChimeiLayout::CellLeft, cell.top - top, cell.piece, m_nameStyle);
    }
    return part;
}

void ChimeiCtl_B::scheduleNextFrame(qint64 nowMs)
{
    // During a pause nothing moves: sleep through it.
    const qint64 wait = m_motion.isPausing(nowMs) ? m_motion.pauseEndMs() - nowMs : frameIntervalMs();
    m_scrollTimer.start(static_cast<int>(wait)); // a pause is at most ScrollStartWait
}

int ChimeiCtl_B::frameIntervalMs() const
{
    const QScreen *display = screen();
    const qreal refreshRate = display && display->refreshRate() > 0 ? display->refreshRate() : 60.0;
    return qMax(1, qRound(1000.0 / refreshRate));
}

void ChimeiCtl_B::Refresh()
{
    update();
}

void ChimeiCtl_B::DrawDot16(int x, int y, QString &piece)
{
    drawCell(m_strip, x, y - m_stripPartTop, piece, {m_foreColor, m_fontMode, m_fontBold});
    m_scaledStrip = QImage();
    update();
}

void ChimeiCtl_B::drawCell(QImage &image, int x, int y, QString &piece, const CellStyle &style) const
{
    if (piece.isEmpty()) {
        return;
    }
    const Dot16CellRules::Placement placement = Dot16CellRules::placementFor(piece, style.fontMode);
    const Dot16Glyphs::Face face = Dot16CellRules::faceFor(style.fontMode, Cp932::firstCharCode(piece));
    const Dot16Mask dots =
        m_glyphs->glyph(piece, face, style.bold).shifted(placement.offset.x(), placement.offset.y());

    // One pixel per dot, every second pixel: lit dots never touch.
    const QRgb lit = ColorRef::toQColor(style.foreColor).rgb();
    for (int column = 0; column < Dot16Mask::Size; ++column) {
        for (int row = 0; row < Dot16Mask::Size; ++row) {
            if (!dots.lit(column, row)) {
                continue;
            }
            const QPoint pixel = placement.transposed ? QPoint(x + 2 * row, y + 2 * column)
                                                      : QPoint(x + 2 * column, y + 2 * row);
            if (image.rect().contains(pixel)) {
                image.setPixel(pixel, lit);
            }
        }
    }
}

void ChimeiCtl_B::readProperties(const PropertyBag &bag)
{
    m_backColor = bag.read("BackColor", DefaultBackColor).toUInt();
    m_foreColor = bag.read("ForeColor", DefaultForeColor).toUInt();
    m_speed = static_cast<qint16>(bag.read("Speed", DefaultSpeed).toInt());
    m_scrollStartWait = bag.read("ScrollStartWait", DefaultScrollStartWait).toInt();
    m_mode = static_cast<qint16>(bag.read("Mode", DefaultMode).toInt());
    m_appearance = static_cast<qint16>(bag.read("Appearance", DefaultAppearance).toInt());
    m_fontMode = static_cast<qint16>(bag.read("FontMode", DefaultFontMode).toInt());
    m_fontBold = bag.read("FontBold", DefaultFontBold).toBool();
    eraseStrip();
}

void ChimeiCtl_B::writeProperties(PropertyBag &bag) const
{
    bag.write("BackColor", m_backColor, DefaultBackColor);
    bag.write("ForeColor", m_foreColor, DefaultForeColor);
    bag.write("Speed", m_speed, DefaultSpeed);
    bag.write("ScrollStartWait", m_scrollStartWait, DefaultScrollStartWait);
    bag.write("Mode", m_mode, DefaultMode);
    bag.write("Appearance", m_appearance, DefaultAppearance);
    bag.write("FontMode", m_fontMode, DefaultFontMode);
    bag.write("FontBold", m_fontBold, DefaultFontBold);
}

void ChimeiCtl_B::paintEvent(QPaintEvent *)
{
    // The frame in the back colour, and the strip seen through it.
    QPainter painter(this);
    const QRect frame(0, 0, qRound(m_frameSize.width() * m_scale), qRound(m_frameSize.height() * m_scale));
    painter.setClipRect(frame);
    painter.fillRect(frame, ColorRef::toQColor(m_backColor));
    painter.drawImage(QPoint(0, qRound((m_stripTop + m_stripPartTop) * m_scale)), paintedStrip());
}
