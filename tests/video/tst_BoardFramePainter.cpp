#include "FakeCompanion.h"
#include "controls/ChimeiCtl_B.h"
#include "display/BoardFramePainter.h"
#include "display/BoardLayout.h"
#include "display/DisplayScale.h"
#include "display/Form1.h"
#include "display/JapaneseFonts.h"
#include "video/MediaSink.h"
#include "video/RecordingClock.h"

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
    display.Form_Load();
    display.hide();
    RecordingClock clock;
    BoardFramePainter painter(display, VideoFormat::DefaultSize, clock);
    display.ChimeiCtl()->SetChimei(QStringLiteral("市立中央図書館前バスターミナル"));
    QList<QImage> frames;
    for (const qint64 ms : times) {
        clock.setNow(ms);
        frames << painter.paint();
    }
    return frames;
}

void tst_BoardFramePainter::framesShowTheStripWhereTheClockSaysEveryTime()
{
    const QList<qint64> times = {0, 1000, 2500, 4000};
    const QList<QImage> first = framesAt(times);
    QCOMPARE(first.at(0).size(), QSize(1842, 614));
    // The board is painted at the video's size: its strip, not only a corner.
    const QRect strip = DisplayScale::mapped(BoardLayout::stopNameRect(), 2.0);
    QCOMPARE(first.at(0).copy(strip), first.at(1).copy(strip)); // the pause before the first move
    QVERIFY(first.at(2).copy(strip) != first.at(1).copy(strip));
    QVERIFY(first.at(3).copy(strip) != first.at(2).copy(strip));
    // The same times give the same pictures, however fast they were painted.
    QCOMPARE(framesAt(times), first);
}

QTEST_MAIN(tst_BoardFramePainter)
#include "tst_BoardFramePainter.moc"
