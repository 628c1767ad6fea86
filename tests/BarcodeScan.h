#pragma once

#include <QImage>
#include <QStringList>

#include <zbar.h>

#include <initializer_list>

// Every symbol a real reader (zbar) finds in a grey picture, as
// "SYMBOLOGY data", with only the given symbologies switched on.
inline QStringList scanBarcodes(const QImage &picture, std::initializer_list<zbar::zbar_symbol_type_t> symbologies)
{
    using namespace zbar;
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    zbar_image_scanner_t *scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    for (zbar_symbol_type_t symbology : symbologies) {
        zbar_image_scanner_set_config(scanner, symbology, ZBAR_CFG_ENABLE, 1);
        zbar_image_scanner_set_config(scanner, symbology, ZBAR_CFG_MIN_LEN, 1);
    }
    QByteArray pixels;
    for (int y = 0; y < grey.height(); ++y) {
        pixels.append(reinterpret_cast<const char *>(grey.constScanLine(y)), grey.width());
    }
    zbar_image_t *frame = zbar_image_create();
    zbar_image_set_format(frame, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(frame, grey.width(), grey.height());
    zbar_image_set_data(frame, pixels.constData(), pixels.size(), nullptr);
    QStringList found;
    if (zbar_scan_image(scanner, frame) > 0) {
        for (const zbar_symbol_t *symbol = zbar_image_first_symbol(frame); symbol; symbol = zbar_symbol_next(symbol)) {
            found << QStringLiteral("%1 %2").arg(QString::fromLatin1(zbar_get_symbol_name(zbar_symbol_get_type(symbol))),
                                                 QString::fromUtf8(zbar_symbol_get_data(symbol)));
        }
    }
    zbar_image_destroy(frame);
    zbar_image_scanner_destroy(scanner);
    return found;
}
