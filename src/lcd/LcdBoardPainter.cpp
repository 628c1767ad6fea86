#include "LcdBoardPainter.h"

#include "LcdBoardContent.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor Background(0x0a, 0x10, 0x1c);
const QColor Band(0x12, 0x36, 0x74);
const QColor Text(0xff, 0xff, 0xff);
const QColor Soft(0xc8, 0xd3, 0xe6);
const QColor Accent(0xff, 0xcf, 0x1f);
const QColor Dark(0x10, 0x1a, 0x30);
const QColor LampOn(0xff, 0x5a, 0x1f);
const QColor LampOff(0x1f, 0x45, 0x85);
const QColor LastStop(0xd8, 0x2f, 0x2f);
const QColor Cell(0x14, 0x1e, 0x33);

// Lengths on the 1920 x 1080 grid, taken to the screen.
class Grid
{
public:
    explicit Grid(const QRect &screen)
        : m_origin(screen.topLeft())
        , m_scale(screen.width() / qreal(LcdBoardPainter::Design.width()))
    {
    }
    QRectF rect(qreal x, qreal y, qreal w, qreal h) const
    {
        return QRectF(m_origin.x() + x * m_scale, m_origin.y() + y * m_scale, w * m_scale, h * m_scale);
    }
    qreal length(qreal design) const { return design * m_scale; }

private:
    QPointF m_origin;
    qreal m_scale;
};

} // namespace

QRect LcdBoardPainter::screenIn(const QRect &area)
{
    const QSize size = Design.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size);
}

QFont LcdBoardPainter::font(qreal pixels, bool bold) const
{
    QFont font;
    // Japanese first; the others for the names in Chinese and Korean.
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK KR"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void LcdBoardPainter::drawFitted(QPainter &painter, const QRectF &box, const QString &text, QFont font,
                                 int flags) const
{
    if (text.isEmpty()) {
        return;
    }
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > box.width() && width > 0) {
        font.setPixelSize(std::max(1, int(font.pixelSize() * box.width() / width)));
    }
    flags |= Qt::TextSingleLine;
    // Glyphs below this size come from the engine's glyph cache.
    constexpr int CachedGlyphs = 64;
    if (font.pixelSize() < CachedGlyphs) {
        painter.setFont(font);
        painter.drawText(box, flags, text);
        return;
    }
    const QRect place = box.toAlignedRect();
    const QColor color = painter.pen().color();
    const QString key = QStringLiteral("%1|%2|%3|%4|%5x%6|%7")
                            .arg(text)
                            .arg(font.pixelSize())
                            .arg(font.bold())
                            .arg(color.rgba())
                            .arg(place.width())
                            .arg(place.height())
                            .arg(flags);
    auto found = m_largeText.constFind(key);
    if (found == m_largeText.cend()) {
        // Enough for a screen's names in every language and the clock's turn.
        if (m_largeText.size() >= 64) {
            m_largeText.clear();
        }
        QImage image(place.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter layer(&image);
        layer.setRenderHint(QPainter::TextAntialiasing, true);
        layer.setPen(color);
        layer.setFont(font);
        layer.drawText(QRectF(QPointF(0, 0), QSizeF(place.size())), flags, text);
        layer.end();
        found = m_largeText.insert(key, image);
    }
    painter.drawImage(place.topLeft(), *found);
}

void LcdBoardPainter::paint(QPainter &painter, const QRect &area, const LcdBoardView &view, const LcdBoardCycle &cycle,
                            const QTime &clock) const
{
    const QRect screen = screenIn(area);
    for (const QRect &bar : QRegion(area).subtracted(screen)) {
        painter.fillRect(bar, Qt::black);
    }
    if (view.dark) {
        painter.fillRect(screen, Qt::black);
        return;
    }
    painter.fillRect(screen, Background);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const Grid g(screen);
    const QString language = cycle.language();

    // The band: route, destination, lamp, clock.
    painter.fillRect(g.rect(0, 0, 1920, 150), Band);
    if (view.hasRoute) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Text);
        painter.drawRoundedRect(g.rect(30, 22, 220, 106), g.length(14), g.length(14));
        painter.setPen(Band);
        drawFitted(painter, g.rect(40, 22, 200, 106), view.route, font(g.length(84), true), Qt::AlignCenter);
        painter.setPen(Text);
        drawFitted(painter, g.rect(285, 0, 990, 150), LcdBoardContent::destinationText(view, language),
                   font(g.length(64), true), Qt::AlignLeft | Qt::AlignVCenter);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(view.stopRequested ? LampOn : LampOff);
    painter.drawRoundedRect(g.rect(1300, 25, 330, 100), g.length(50), g.length(50));
    painter.setPen(view.stopRequested ? Text : Band);
    drawFitted(painter, g.rect(1315, 25, 300, 100), QStringLiteral("とまります"), font(g.length(58), true),
               Qt::AlignCenter);
    if (clock.isValid()) {
        painter.setPen(Text);
        drawFitted(painter, g.rect(1650, 0, 240, 150), clock.toString(QStringLiteral("H:mm")),
                   font(g.length(76), true), Qt::AlignRight | Qt::AlignVCenter);
    }
    if (!view.hasRoute) {
        return;
    }

    // The stop.
    if (!view.message.isEmpty()) {
        painter.setPen(Text);
        drawFitted(painter, g.rect(60, 230, 1800, 260), view.message, font(g.length(150), true), Qt::AlignCenter);
        return;
    }
    const QString ja = view.names.value(QStringLiteral("ja"));
    if (!ja.isEmpty()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Accent);
        painter.drawRoundedRect(g.rect(40, 205, 310, 110), g.length(16), g.length(16));
        painter.setPen(Dark);
        drawFitted(painter, g.rect(50, 205, 290, 110), LcdBoardContent::heading(language, view.standing),
                   font(g.length(60), true), Qt::AlignCenter);
        if (view.lastStop) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(LastStop);
            painter.drawRoundedRect(g.rect(40, 335, 310, 95), g.length(16), g.length(16));
            painter.setPen(Text);
            drawFitted(painter, g.rect(50, 335, 290, 95), LcdBoardContent::lastStopWord(language),
                       font(g.length(54), true), Qt::AlignCenter);
        }
        // Above the name: its kana in Japanese, the Japanese name in the others.
        const QString above = language == QLatin1String("ja") ? view.names.value(QStringLiteral("kana")) : ja;
        const QString name = view.names.value(language, ja);
        painter.setPen(Soft);
        drawFitted(painter, g.rect(390, 168, 1490, 100), above, font(g.length(64), false),
                   Qt::AlignLeft | Qt::AlignVCenter);
        painter.setPen(Text);
        drawFitted(painter, g.rect(390, 268, 1490, 250), name, font(g.length(190), true),
                   Qt::AlignLeft | Qt::AlignVCenter);
    }

    // The fare table.
    painter.fillRect(g.rect(40, 548, 1840, 4), LampOff);
    painter.setPen(Soft);
    const QString caption = language == QLatin1String("ja") ? QStringLiteral("整理券番号　運賃（円）")
                                                            : QStringLiteral("Ticket No.  Fare (yen)");
    drawFitted(painter, g.rect(40, 560, 1300, 70), caption, font(g.length(44), false),
               Qt::AlignLeft | Qt::AlignVCenter);
    if (const QString page = cycle.pageText(); !page.isEmpty()) {
        painter.setPen(Text);
        drawFitted(painter, g.rect(1500, 560, 380, 70), page, font(g.length(52), true),
                   Qt::AlignRight | Qt::AlignVCenter);
    }
    const QFont numberFont = font(g.length(44), true);
    const QFont fareFont = font(g.length(58), true);
    const int end = std::min<int>(cycle.firstFare() + cycle.faresOnPage(), view.fares.size());
    for (int i = cycle.firstFare(); i < end; ++i) {
        const int slot = i - cycle.firstFare();
        const qreal x = 40 + (slot % LcdBoardCycle::Columns) * 230.0;
        const qreal y = 640 + (slot / LcdBoardCycle::Columns) * 86.0;
        const LcdBoardView::Fare &fare = view.fares.at(i);
        painter.fillRect(g.rect(x + 4, y + 4, 222, 78), Cell);
        painter.fillRect(g.rect(x + 4, y + 4, 80, 78), Accent);
        painter.setPen(Dark);
        drawFitted(painter, g.rect(x + 6, y + 4, 76, 78), fare.number, numberFont, Qt::AlignCenter);
        painter.setPen(Text);
        // Four digits of a late-night fare still at full size.
        drawFitted(painter, g.rect(x + 88, y + 4, 134, 78), fare.fare, fareFont, Qt::AlignRight | Qt::AlignVCenter);
    }
}
