#include "BarcodeScan.h"
#include "remote/QrCode.h"

#include <QTest>

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
        QCOMPARE(scanBarcodes(grey, {ZBAR_QRCODE}), QStringList{QStringLiteral("QR-Code ") + address});
    }
};

QTEST_MAIN(tst_QrCode)
#include "tst_QrCode.moc"
