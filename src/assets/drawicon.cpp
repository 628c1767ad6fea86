// Draws the application icon, a small fare display: the stop-name strip with
// lit dots on the left, two fares in red seven segments on the right.
// `drawicon OUTDIR` writes OUTDIR/<size>x<size>/apps/org.tavelo.Tavelo.png
// for every size of the hicolor theme the package installs. The icons are
// committed; run this again only when the artwork changes.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cstdio>

namespace {

const QColor Frame(0xC8, 0xC8, 0xC8);
const QColor FrameShadow(0x70, 0x70, 0x70);
const QColor Board(0x10, 0x10, 0x10);
const QColor Strip(0x38, 0x38, 0x38);
const QColor LitDot(0xFF, 0x9A, 0x1E);
const QColor DarkDot(0x55, 0x40, 0x28);
const QColor Segment(0xFF, 0x30, 0x20);
const QColor UnlitSegment(0x40, 0x14, 0x10);

// The artwork is drawn on a 256-unit square and scaled to each size.
constexpr qreal Units = 256;
constexpr std::array Sizes = {16, 32, 48, 64, 128, 256};

// Segments a..g of each digit, as bits 0..6.
constexpr std::array<int, 10> DigitSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// One seven-segment digit in `r`.
void drawDigit(QPainter &p, const QRectF &r, int digit)
{
    const qreal t = r.width() * 0.22; // segment thickness
    const qreal w = r.width();
    const qreal h = r.height() / 2;
    const std::array<QRectF, 7> segments = {
        QRectF(t, 0, w - 2 * t, t),             // a
        QRectF(w - t, t * 0.6, t, h - t * 0.6), // b
        QRectF(w - t, h, t, h - t * 0.6),       // c
        QRectF(t, 2 * h - t, w - 2 * t, t),     // d
        QRectF(0, h, t, h - t * 0.6),           // e
        QRectF(0, t * 0.6, t, h - t * 0.6),     // f
        QRectF(t, h - t / 2, w - 2 * t, t),     // g
    };
    for (int s = 0; s < 7; ++s) {
        const bool lit = DigitSegments[digit] & (1 << s);
        p.fillRect(segments[s].translated(r.topLeft()), lit ? Segment : UnlitSegment);
    }
}

void drawFare(QPainter &p, qreal top, const char *digits)
{
    for (int i = 0; digits[i]; ++i) {
        drawDigit(p, QRectF(112 + i * 40, top, 30, 64), digits[i] - '0');
    }
}

// The strip: a column of dot cells, two characters' worth lit.
void drawStrip(QPainter &p)
{
    const QRectF strip(40, 36, 48, 184);
    p.fillRect(strip, Strip);
    constexpr int Columns = 4;
    constexpr int Rows = 15;
    const qreal pitch = strip.width() / Columns;
    // Rows lit on each column: a rough, blocky pair of characters.
    const std::array<quint16, Columns> lit = {0x7DBE, 0x4AA5, 0x52A9, 0x7DBE};
    p.setPen(Qt::NoPen);
    for (int c = 0; c < Columns; ++c) {
        for (int r = 0; r < Rows; ++r) {
            p.setBrush(lit[c] & (1 << r) ? LitDot : DarkDot);
            const QPointF centre(strip.left() + (c + 0.5) * pitch, strip.top() + 6 + r * 11.9);
            p.drawEllipse(centre, pitch * 0.38, pitch * 0.38);
        }
    }
}

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / Units, size / Units);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(8, 20, 240, 216), 28, 28);
    p.fillPath(outline.translated(0, 4), FrameShadow);
    p.fillPath(outline, Frame);
    QPainterPath board;
    board.addRoundedRect(QRectF(24, 28, 208, 200), 14, 14);
    p.fillPath(board, Board);
    drawStrip(p);
    drawFare(p, 52, "230");
    drawFare(p, 140, "180");
    p.end();
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: drawicon OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const int size : Sizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString path = out.filePath(folder + QStringLiteral("/org.tavelo.Tavelo.png"));
        if (!out.mkpath(folder) || !drawIcon(size).save(path)) {
            std::fprintf(stderr, "drawicon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
