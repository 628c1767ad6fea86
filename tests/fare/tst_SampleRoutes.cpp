#include "fare/FareRoute.h"
#include "formats/TapeCsv.h"

#include <QFile>
#include <QTest>

// The demo routes as a first run meets them: each loads, its fares grow with
// distance, and its announcements step the fares to the stop they name.
class tst_SampleRoutes : public QObject
{
    Q_OBJECT

private slots:
    void routeFitsItsAnnouncements_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("route 0") << "0";
        QTest::newRow("route 12") << "12";
        QTest::newRow("route 35") << "35";
    }
    void routeFitsItsAnnouncements()
    {
        QFETCH(QString, route);
        const QString samples = QStringLiteral(TAVELO_SAMPLES_DIR);
        FareRoute fares;
        const RouteRequest request = RouteSetting::request(route, QString());
        QVERIFY(fares.load(request, RouteSetting::fareFilePath(samples, request.routeNumber)).ok);
        const int stops = fares.state().RecordCount;
        QVERIFY(stops >= 20 && stops <= 40);

        for (int n = 1; n <= stops; ++n) {
            const StopRecord &stop = fares.table().slot(n);
            for (int c = 1; c <= 98; ++c) {
                if (c >= n) {
                    QCOMPARE(stop.column(c), qint16(0)); // ticket c not drawn yet: a blank cell
                } else if (c + 1 < n) {
                    QVERIFY2(stop.column(c) >= stop.column(c + 1), qPrintable(QStringLiteral("stop %1 column %2").arg(n).arg(c)));
                }
            }
            QVERIFY(stop.column(150) >= 1 && stop.column(150) <= 3);
        }

        QFile file(samples + QStringLiteral("/%1tp.csv").arg(route));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const TapeCsvContents tape = TapeCsv::parse(file.readAll());
        QVERIFY(tape.errors.isEmpty());
        int stop = 1;
        for (const TapeRecord &record : tape.records) {
            if (record.StepFlag == 1) {
                ++stop;
                QVERIFY2(stop <= stops, "more fare steps than stops");
                QVERIFY2(record.Text.contains(fares.table().slot(stop).name), qPrintable(record.Text));
            }
        }
        QCOMPARE(stop, stops);
    }
};

QTEST_GUILESS_MAIN(tst_SampleRoutes)
#include "tst_SampleRoutes.moc"
