#include "FareFiles.h"

#include "fare/FareBoard.h"
#include "fare/FareRoute.h"

#include <QTemporaryDir>
#include <QTest>

class tst_FareBoard : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    const QDateTime m_now{QDate(2026, 12, 6), QTime(7, 5, 9)};

    // Three stops: stop 2 holds the fares of a real stop (-1 for tickets not
    // drawn yet, 0 for no charge, a fare too large to double in 16 bits).
    FareRoute route(const QString &routeText, const QString &section)
    {
        std::vector<StopRecord> stops = FareFiles::stops(3);
        stops[1].columns[0] = 210;
        stops[1].columns[1] = 0;
        stops[1].columns[2] = -1;
        stops[1].columns[3] = 20000;
        const QString file = m_dir.filePath(QStringLiteral("route.hy3"));
        FareFiles::write(file, *Hy3File::serialize(stops));
        FareRoute fares;
        fares.load(RouteSetting::request(routeText, section), file);
        fares.setHeldDate(QStringLiteral("11-30-2026"));
        return fares;
    }

    static qint32 fare(const StopView &view, int cell) { return std::get<qint32>(view.cells[static_cast<size_t>(cell)]); }
    static bool untouched(const StopView &view, int cell)
    {
        return std::holds_alternative<std::monostate>(view.cells[static_cast<size_t>(cell)]);
    }

private slots:
    void showsTheFaresOfTheStop()
    {
        const StopView view = FareBoard::compute(route(QStringLiteral("12"), QStringLiteral("1")), 2, {}, m_now);
        QVERIFY(view.valid);
        QVERIFY(untouched(view, 0));
        QCOMPARE(fare(view, 1), 210);
        QCOMPARE(fare(view, 2), 0);
        QCOMPARE(fare(view, 3), -1);
        QCOMPARE(fare(view, 4), 20000);
        QCOMPARE(fare(view, 98), 298);
        QCOMPARE(view.stopName, QStringLiteral("停留所2"));
    }

    void doublesFaresLateAtNight()
    {
        FareDisplayOptions options;
        options.lateNight = true;
        const StopView view = FareBoard::compute(route(QStringLiteral("12"), QStringLiteral("1")), 2, options, m_now);
        QCOMPARE(fare(view, 1), 420);
        QCOMPARE(fare(view, 2), 0);
        QCOMPARE(fare(view, 3), -1);
        QCOMPARE(fare(view, 4), 40000); // beyond 16 bits, its true value
    }

    void leavesTheCellsBeforeTheStartSection()
    {
        const StopView view = FareBoard::compute(route(QStringLiteral("12"), QStringLiteral("2")), 2, {}, m_now);
        QVERIFY(untouched(view, 1));
        QCOMPARE(fare(view, 2), 0);
        QCOMPARE(fare(view, 5), 205);
    }

    void informationNumbersOverwriteInRowOrder()
    {
        FareDisplayOptions options;
        options.infoRows[FareBoard::InfoStopOrder] = {true, 1};
        options.infoRows[FareBoard::InfoTicketNumber] = {true, 2};
        options.infoRows[FareBoard::InfoRouteText] = {true, 3};
        options.infoRows[FareBoard::InfoDataColumn] = {true, 1}; // wins cell 1 over the stop order
        options.infoDataColumn = 150;
        const FareRoute fares = route(QStringLiteral("00012"), QStringLiteral("1"));
        StopView view = FareBoard::compute(fares, 3, options, m_now);
        QCOMPARE(fare(view, 1), 450);
        QCOMPARE(fare(view, 2), 3);
        QCOMPARE(std::get<QString>(view.cells[3]), QStringLiteral("00012"));
        QCOMPARE(fare(view, 4), 304);

        options.infoRows[FareBoard::InfoDataColumn].enabled = false;
        options.countFromZero = true;
        QCOMPARE(fare(FareBoard::compute(fares, 1, options, m_now), 1), 0);
        options.countFromZero = false;
        QCOMPARE(fare(FareBoard::compute(fares, 1, options, m_now), 1), 1);

        // A row whose list has no selection is skipped.
        options.infoRows[FareBoard::InfoStopOrder].targetCell = 0;
        QCOMPARE(fare(FareBoard::compute(fares, 1, options, m_now), 1), 101);
    }

    void informationNumbersReachCellsBeforeTheStartSection()
    {
        FareDisplayOptions options;
        options.infoRows[FareBoard::InfoTicketNumber] = {true, 1};
        const StopView view = FareBoard::compute(route(QStringLiteral("12"), QStringLiteral("2")), 3, options, m_now);
        QCOMPARE(fare(view, 1), 3);
    }

    void fillsTheTicketOfTheStop_data()
    {
        QTest::addColumn<int>("dateOption");
        QTest::addColumn<QString>("dateText");
        QTest::newRow("today") << 0 << "12-06-2026";
        QTest::newRow("held since route setting") << 1 << "11-30-2026";
        QTest::newRow("fixed") << 2 << "04-01-2027";
    }
    void fillsTheTicketOfTheStop()
    {
        QFETCH(int, dateOption);
        FareDisplayOptions options;
        options.dateOption = dateOption;
        options.fixedDate = QStringLiteral("04-01-2027");
        const StopView view = FareBoard::compute(route(QStringLiteral("00012"), QStringLiteral("1")), 2, options, m_now);
        QTEST(view.ticket.dateText, "dateText");
        QCOMPARE(view.ticket.timeText, QStringLiteral("07:05:09"));
        QCOMPARE(view.ticket.stopName, QStringLiteral("停留所2"));
        QCOMPARE(view.ticket.ticketNumber, qint16(2));
        QCOMPARE(view.ticket.routeNumber, 12);
        QCOMPARE(view.ticket.stopPosition, qint16(2));
        QVERIFY(view.ticket.pluginPath.isEmpty());
        QCOMPARE(view.ticket.companyIndex, -1);
    }

    void showsNothingOutsideTheRoute()
    {
        const FareRoute fares = route(QStringLiteral("12"), QStringLiteral("1"));
        for (const int stop : {0, -1, 4, 301, 302, 32767}) {
            const StopView view = FareBoard::compute(fares, stop, {}, m_now);
            QVERIFY(!view.valid);
            QVERIFY(untouched(view, 1));
            QVERIFY(view.stopName.isEmpty());
        }
        QVERIFY(!FareBoard::compute(FareRoute{}, 1, {}, m_now).valid);
    }
};

QTEST_GUILESS_MAIN(tst_FareBoard)
#include "tst_FareBoard.moc"
