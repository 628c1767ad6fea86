#include "QrCode.h"

#include <qrencode.h>

#include <QPainter>

#include <memory>

namespace QrCode {

QImage image(const QString &text, int moduleSize)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code) {
        return QImage();
    }
    constexpr int QuietZone = 4;
    const int modules = code->width + 2 * QuietZone;
    QImage picture(modules * moduleSize, modules * moduleSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // Bit 0 of each byte: the module is dark.
            if (code->data[y * code->width + x] & 1) {
                painter.fillRect((x + QuietZone) * moduleSize, (y + QuietZone) * moduleSize, moduleSize, moduleSize,
                                 Qt::black);
            }
        }
    }
    return picture;
}

} // namespace QrCode
