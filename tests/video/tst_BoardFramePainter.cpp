#include "FakeCompanion.h"
#include "controls/ChimeiCtl_B.h"
#include "recording/BoardFramePainter.h"
#include "display/BoardLayout.h"
#include "display/DisplayScale.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "windows/frmCtl.h"
#include "video/MediaSink.h"
#include "video/RecordingClock.h"

#include <QApplication>
#include <QTest>

class tst_BoardFramePainter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { JapaneseFonts::installSubstitutions(); }
    void framesShowTheStripWhereTheClockSaysEveryTime();

private:
    // The frames of one display at the given clock times, a long name scrolling.
    QList<QImage> framesAt(const QList<qint64> &times);
};

QList<QImage> tst_BoardFramePainter::framesAt(const QList<qint64> &times)
{
    FakeCompanion companion;
    PlatformServices services;
    services.companion = &companion;
    Form1 display(services);
    // As a render starts it: shown to Qt, never on a screen.
    display.setAttribute(Qt::WA_DontShowOnScreen);
    display.controlPanel()->setAttribute(Qt::WA_DontShowOnScreen);
    display.Form_Load();
    RecordingClock clock;
    BoardFramePainter painter(display, VideoFormat::DefaultSize, clock);
    display.ChimeiCtl()->SetChimei(QStringLiteral("市立中央図書館前バスターミナル"));
    QList<QImage> frames;
    for (const qint64 ms : times) {
        clock.setNow(ms);
        // The window system hears of the shown window meanwhile.
        QApplication::processEvents();
        frames << painter.paint();
    }
    return frames;
}

void tst_BoardFramePainter::framesShowTheStripWhereTheClockSaysEveryTime()
{
    const QList<qint64> times = {0, 1000, 2500, 4000};
    const QList<QImage> first = framesAt(times);
    QCOMPARE(first.at(0).size(), QSize(1842, 614));
    // The board is painted at the video's size, to its last cell, in every frame.
    const QPoint lastCell = DisplayScale::mapped(BoardLayout::cellRect(98), 2.0).center();
    for (const QImage &frame : first) {
        QVERIFY(frame.pixel(lastCell) != qRgb(0, 0, 0));
    }
    const QRect strip = DisplayScale::mapped(BoardLayout::stopNameRect(), 2.0);
    QCOMPARE(first.at(0).copy(strip), first.at(1).copy(strip)); // the pause before the first move
    QVERIFY(first.at(2).copy(strip) != first.at(1).copy(strip));
    QVERIFY(first.at(3).copy(strip) != first.at(2).copy(strip));
    // The same times give the same pictures, however fast they were painted.
    QCOMPARE(framesAt(times), first);
}

QTEST_MAIN(tst_BoardFramePainter)
#include "tst_BoardFramePainter.moc"
