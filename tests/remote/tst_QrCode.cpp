#include "remote/QrCode.h"

#include <QTest>

#include <zbar.h>

using namespace zbar;

// The menu's QR code: a phone's camera must read the address back exactly.
class tst_QrCode : public QObject
{
    Q_OBJECT

private slots:
    void aRealReaderReadsTheAddress()
    {
        const QString address = QStringLiteral("http://192.168.1.5:8157/?token=00112233445566778899aabbccddeeff");
        const QImage grey = QrCode::image(address, 3).convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(!grey.isNull());

        zbar_image_scanner_t *scanner = zbar_image_scanner_create();
        zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
        zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
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
            for (const zbar_symbol_t *symbol = zbar_image_first_symbol(frame); symbol;
                 symbol = zbar_symbol_next(symbol)) {
                found << QString::fromUtf8(zbar_symbol_get_data(symbol));
            }
        }
        zbar_image_destroy(frame);
        zbar_image_scanner_destroy(scanner);
        QCOMPARE(found, QStringList{address});
    }
};

QTEST_MAIN(tst_QrCode)
#include "tst_QrCode.moc"
