#include "companion/PluginBridge.h"
#include "display/JapaneseFonts.h"
#include "ticket/TicketDescriptionReader.h"
#include "ticket/TicketRenderer.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include "BarcodeScan.h"

using namespace zbar;

namespace {

QString sample(const QString &name)
{
    return QStringLiteral(TAVELO_SAMPLES_DIR "/") + name;
}

TicketRequest request(qint32 route, qint16 number, qint16 position, const QString &stop = QStringLiteral("市役所前"))
{
    TicketRequest r;
    r.stopName = stop;
    r.dateText = QStringLiteral("12-06-2026");
    r.timeText = QStringLiteral("07:05:09");
    r.routeNumber = route;
    r.ticketNumber = number;
    r.stopPosition = position;
    return r;
}

QImage whiteImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Draws the way the preview does: through the bridge, into a white picture.
QImage drawSample(const QString &name, const TicketRequest &r, QSize size = QSize(220, 116))
{
    QImage image = whiteImage(size);
    PluginBridge::Brix4_DrawSeiriken(sample(name), &image, r.stopName, r.dateText, r.timeText, r.routeNumber,
                                     r.ticketNumber, r.stopPosition, r.companyIndex);
    return image;
}

QImage drawDescription(const QByteArray &json, const TicketRequest &r)
{
    QList<DescriptionProblem> problems;
    const std::optional<TicketDescription> ticket = TicketDescriptionReader::parse(json, &problems);
    if (!ticket) {
        qWarning() << problems.value(0).path << problems.value(0).why;
        return {};
    }
    QImage image = whiteImage(ticket->size);
    QPainter painter(&image);
    TicketRenderer(*ticket).draw(painter, r);
    return image;
}

// Every barcode a real reader finds, as "SYMBOLOGY data". The picture gets a
// white margin, the quiet zone a ticket's paper gives.
QStringList readBarcodes(const QImage &image)
{
    QImage grey(image.size() + QSize(40, 40), QImage::Format_Grayscale8);
    grey.fill(255);
    {
        QPainter painter(&grey);
        painter.drawImage(20, 20, image);
    }
    return scanBarcodes(grey, {ZBAR_CODABAR, ZBAR_I25});
}

// The area of the picture that holds dark pixels.
QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace

class tst_TicketDrawing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { JapaneseFonts::installSubstitutions(); }

    void sampleBarcodeReadsBack_data();
    void sampleBarcodeReadsBack();
    void itfReadsBack_data();
    void itfReadsBack();
    void valueTooLargeForItsDigitsLeavesTheBarcodeOut();
    void numberAndStopNameDrawInTheirBoxes();
    void longTextIsNarrowedIntoItsBox();
    void refusedPluginDrawsNothing();
};

void tst_TicketDrawing::sampleBarcodeReadsBack_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("digits");
    QTest::newRow("first stop") << 12 << 1 << 1 << "012001001";
    QTest::newRow("middle") << 305 << 47 << 150 << "305150047";
    QTest::newRow("highest") << 999 << 999 << 301 << "999301999";
}

void tst_TicketDrawing::sampleBarcodeReadsBack()
{
    QFETCH(int, route);
    QFETCH(int, number);
    QFETCH(int, position);
    QFETCH(QString, digits);
    const QImage ticket = drawSample("full.4SP", request(route, qint16(number), qint16(position)));
    QCOMPARE(readBarcodes(ticket), QStringList{"Codabar A" + digits + "A"});
}

void tst_TicketDrawing::itfReadsBack_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("narrow");
    QTest::addColumn<QString>("digits");
    QTest::newRow("even count") << QByteArray(R"([{"field": "route", "digits": 3}, {"field": "number", "digits": 3}])")
                                << 1 << "012005";
    // An odd count of digits is led by a 0.
    QTest::newRow("odd count, wider bars")
        << QByteArray(R"([{"fixed": "7"}, {"field": "position", "digits": 2}, {"field": "number", "digits": 2}])")
        << 2 << "070705";
}

void tst_TicketDrawing::itfReadsBack()
{
    QFETCH(QByteArray, data);
    QFETCH(int, narrow);
    QFETCH(QString, digits);
    const QByteArray json = R"({"format": "tavelo-ticket/1", "size": {"width": 240, "height": 60}, "elements": [
        {"type": "barcode", "symbology": "itf", "box": [10, 5, 220, 50], "showDigits": true, "narrow": )"
        + QByteArray::number(narrow) + R"(, "wide": )" + QByteArray::number(3 * narrow) + R"(, "data": )" + data
        + "}]}";
    const QImage ticket = drawDescription(json, request(12, 5, 7));
    QVERIFY(!ticket.isNull());
    QCOMPARE(readBarcodes(ticket), QStringList{"I2/5 " + digits});
}

void tst_TicketDrawing::valueTooLargeForItsDigitsLeavesTheBarcodeOut()
{
    // The sample's barcode holds three route digits.
    const QRect barcodeArea(42, 86, 140, 28);
    for (qint32 route : {1000, -1}) {
        const QImage ticket = drawSample("full.4SP", request(route, 5, 5));
        QVERIFY(readBarcodes(ticket).isEmpty());
        QVERIFY(inkBounds(ticket.copy(barcodeArea)).isNull());
    }
}

void tst_TicketDrawing::numberAndStopNameDrawInTheirBoxes()
{
    const QByteArray json = R"({"format": "tavelo-ticket/1", "size": {"width": 220, "height": 100}, "elements": [
        {"type": "text", "text": "{number}", "box": [60, 5, 100, 50], "size": 40, "bold": true},
        {"type": "text", "text": "{stop}", "box": [10, 70, 200, 24], "size": 16, "face": "ＭＳ 明朝"}]})";
    const QRect numberBox(60, 5, 100, 50);
    const QRect stopBox(10, 70, 200, 24);
    const QImage ticket = drawDescription(json, request(12, 88, 5));
    QVERIFY(!ticket.isNull());
    const QRect numberInk = inkBounds(ticket.copy(numberBox)).translated(numberBox.topLeft());
    const QRect stopInk = inkBounds(ticket.copy(stopBox)).translated(stopBox.topLeft());
    // Two big digits, centred in their box; the stop name across the middle
    // of its own.
    QVERIFY(numberInk.width() > 30 && numberInk.height() > 20);
    QVERIFY(qAbs(numberInk.center().x() - numberBox.center().x()) <= 3);
    QVERIFY(stopInk.width() > 40);
    QVERIFY(qAbs(stopInk.center().x() - stopBox.center().x()) <= 3);
    QCOMPARE(inkBounds(ticket), numberInk | stopInk);

    // Without a stop name, its box stays white.
    const QImage nameless = drawDescription(json, request(12, 88, 5, QString()));
    QVERIFY(inkBounds(nameless.copy(stopBox)).isNull());
}

void tst_TicketDrawing::longTextIsNarrowedIntoItsBox()
{
    const QByteArray json = R"({"format": "tavelo-ticket/1", "size": {"width": 220, "height": 60}, "elements": [
        {"type": "text", "text": "{stop}", "box": [20, 10, 120, 30], "size": 20}]})";
    const QImage ticket = drawDescription(json, request(12, 1, 1, QStringLiteral("県立中央病院前東口バスターミナル")));
    const QRect ink = inkBounds(ticket);
    QVERIFY(QRect(20, 10, 120, 30).contains(ink));
    // Narrowed, not cut: the text runs from one end of the box to the other.
    QVERIFY(ink.left() <= 23 && ink.right() >= 136);
}

void tst_TicketDrawing::refusedPluginDrawsNothing()
{
    QImage image = whiteImage(QSize(100, 50));
    QCOMPARE(PluginBridge::Brix4_DrawSeiriken(QStringLiteral("/nonexistent.4SP"), &image, "x", "", "", 1, 1, 1, -1),
             0);
    QVERIFY(inkBounds(image).isNull());
}

QTEST_MAIN(tst_TicketDrawing)
#include "tst_TicketDrawing.moc"
