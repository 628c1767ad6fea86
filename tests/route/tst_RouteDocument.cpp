#include "formats/Cp932.h"
#include "formats/Hy3File.h"
#include "fare/RouteNumber.h"
#include "route/AnnouncementModel.h"
#include "route/FareGridModel.h"
#include "route/RouteAnnouncements.h"
#include "route/RouteFiles.h"
#include "route/StopTableModel.h"
#include "route/TimetableModel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

namespace {

// The strip of the tests draws everything but ㈱.
bool testGlyphs(char32_t c)
{
    return c != U'㈱';
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Base fare 100 up to 1 km, 10 more for every started km: each stop is a
// fare section of its own, so each draws its own ticket.
RouteSource distanceRoute()
{
    RouteSource source;
    source.route = QStringLiteral("12");
    source.rule.kind = FareRule::Kind::Distance;
    source.rule.baseFare = 100;
    source.rule.baseTenths = 10;
    source.rule.stepFare = 10;
    source.rule.stepTenths = 10;
    const QStringList names{QStringLiteral("駅前"), QStringLiteral("本町"), QStringLiteral("市役所"), QStringLiteral("車庫前")};
    const QList<int> tenths{0, 15, 30, 45};
    for (qsizetype i = 0; i < names.size(); ++i) {
        RouteStop stop;
        stop.name = names.at(i);
        stop.distanceTenths = tenths.at(i);
        source.stops.push_back(stop);
    }
    return source;
}

// A document holding `source` as if opened from its file.
void load(RouteDocument &document, const QTemporaryDir &dir, const RouteSource &source)
{
    const QString path = dir.filePath(QStringLiteral("12.route.json"));
    writeAll(path, source.toJson());
    QString error;
    QVERIFY2(document.open(path, error), qPrintable(error));
}

} // namespace

class tst_RouteDocument : public QObject
{
    Q_OBJECT

private slots:
    void fareDataOpenedAndSavedKeepsItsBytes_data()
    {
        QTest::addColumn<bool>("soundClasses");
        QTest::newRow("sound classes in column 150") << true;
        QTest::newRow("column 150 as it was") << false;
    }

    // Everything a fare data file holds, also what a route source has no
    // field for: cells no rule gives, an information number beyond the
    // fares, tickets not numbered as the editor would.
    void fareDataOpenedAndSavedKeepsItsBytes()
    {
        QFETCH(bool, soundClasses);
        QTemporaryDir dir;
        std::vector<StopRecord> records(4);
        const QStringList names{QStringLiteral("駅前"), QStringLiteral("本町"), QStringLiteral("市役所"), QStringLiteral("車庫前")};
        const QList<qint16> tickets{1, 3, 2, 0};
        for (int n = 0; n < 4; ++n) {
            records[size_t(n)].name = names.at(n);
            records[size_t(n)].ticketNumber = tickets.at(n);
            records[size_t(n)].columns[149] = soundClasses ? qint16(1 + n % 3) : qint16(n == 2 ? 9 : 0);
        }
        records[1].columns[0] = 160;
        records[2].columns[0] = 210;
        records[3].columns[0] = 250;
        records[3].columns[1] = -1;
        records[3].columns[2] = 160;
        records[2].columns[97] = -1;  // a fare column beyond the tickets in use
        records[1].columns[119] = 7;  // an information number
        const QByteArray hy3 = *Hy3File::serialize(records);
        const QByteArray tape = Cp932::encode(QStringLiteral("ご乗車ありがとうございます。,0,0\r\n\"次は、本町, 北です。\",1,2\r\n"));
        const QByteArray yomi = Cp932::encode(QStringLiteral("本町,ほんまち"));
        writeAll(dir.filePath(QStringLiteral("12.hy3")), hy3);
        writeAll(dir.filePath(QStringLiteral("12tp.csv")), tape);
        writeAll(dir.filePath(QStringLiteral("yomi.txt")), yomi);

        RouteDocument document(nullptr, testGlyphs);
        QString error;
        QVERIFY2(document.open(dir.filePath(QStringLiteral("12.hy3")), error), qPrintable(error));
        QVERIFY(!document.isDirty());
        QCOMPARE(document.source().rule.kind, FareRule::Kind::Manual);
        QCOMPARE(document.source().announcements.size(), 2);
        QCOMPARE(document.defaultSavePath(), dir.filePath(QStringLiteral("12.route.json")));
        QVERIFY2(document.save(document.defaultSavePath(), error), qPrintable(error));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("12.hy3"))), hy3);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("12tp.csv"))), tape);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("yomi.txt"))), yomi);

        // ... and so does the source saved beside them.
        RouteDocument again(nullptr, testGlyphs);
        QVERIFY2(again.open(dir.filePath(QStringLiteral("12.route.json")), error), qPrintable(error));
        QCOMPARE(again.board().records(), records);
    }

    // Typing a fare repaints that cell only; the typed fare outlives a new
    // rule, and undo takes it back.
    void aTypedFareSurvivesRegenerationUntilUndone()
    {
        QTemporaryDir dir;
        RouteDocument document(nullptr, testGlyphs);
        load(document, dir, distanceRoute());
        FareGridModel grid(&document);
        QAbstractItemModelTester tester(&grid);
        QCOMPARE(grid.columnCount(), 3);
        const QModelIndex cell = grid.index(3, 0); // 車庫前, ticket of 駅前: 4.5 km
        QCOMPARE(cell.data(Qt::EditRole).toInt(), 140);

        QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&grid, &QAbstractItemModel::modelReset);
        QVERIFY(grid.setData(cell, QStringLiteral("９９９")));
        QCOMPARE(reset.size(), 0);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), cell);
        QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), cell);
        QVERIFY(cell.data(FareGridModel::OverriddenRole).toBool());
        QVERIFY(cell.data(FareGridModel::ProblemRole).toString().isEmpty());

        FareRule dearer = document.source().rule;
        dearer.stepFare = 20;
        document.setRule(dearer);
        QCOMPARE(grid.index(2, 0).data().toString(), QStringLiteral("140")); // 3 km: two steps of 20
        QCOMPARE(cell.data().toString(), QStringLiteral("999"));

        document.undoStack()->undo(); // the rule
        QCOMPARE(cell.data().toString(), QStringLiteral("999"));
        document.undoStack()->undo(); // the typed fare
        QCOMPARE(cell.data().toString(), QStringLiteral("140"));
        QVERIFY(!cell.data(FareGridModel::OverriddenRole).toBool());
        // A fare the board shows as it is typed changes nothing.
        QVERIFY(grid.setData(cell, 140));
        QCOMPARE(document.undoStack()->count(), 2);
        QVERIFY(!document.isDirty());
    }

    void pastedRowsAreOneStep()
    {
        RouteDocument document(nullptr, testGlyphs);
        StopTableModel stops(&document);
        QAbstractItemModelTester tester(&stops);
        QString error;
        QVERIFY(!stops.paste(0, StopTableModel::NameColumn, QStringLiteral("駅前\t\t0\n本町\t\tabc\n"), false, error));
        QVERIFY2(error.contains(QStringLiteral("2 行目, 3 列目")), qPrintable(error));
        QCOMPARE(stops.rowCount(), 0);

        QVERIFY2(stops.paste(0, StopTableModel::NameColumn,
                             QStringLiteral("駅前\tえきまえ\t0\r\n本町㈱\t\t1.5\r\n\"車庫\"\"前\"\t\t３\r\n"), false, error),
                 qPrintable(error));
        QCOMPARE(stops.rowCount(), 3);
        QCOMPARE(document.undoStack()->count(), 1);
        QCOMPARE(document.source().stops[2].name, QStringLiteral("車庫\"前"));
        QCOMPARE(document.source().stops[2].distanceTenths, 30);
        QVERIFY(stops.index(0, 0).data(StopTableModel::NameFitsRole).toBool());
        QVERIFY(!stops.index(1, 0).data(StopTableModel::NameFitsRole).toBool());
        QVERIFY(stops.index(1, 0).data(StopTableModel::NameProblemRole).toString().contains(QStringLiteral("㈱")));
        QCOMPARE(stops.index(1, 0).data(StopTableModel::UnfitCharacterRole).toString(), QStringLiteral("㈱"));

        // A column of names over the first two rows and one more.
        QVERIFY(stops.paste(1, StopTableModel::NameColumn, QStringLiteral("本町\n市役所\n終点前"), false, error));
        QCOMPARE(stops.rowCount(), 4);
        QCOMPARE(document.source().stops[2].distanceTenths, 30); // kept under the new name
        document.undoStack()->undo();
        QCOMPARE(stops.rowCount(), 3);
        QCOMPARE(document.source().stops[1].name, QStringLiteral("本町㈱"));
        document.undoStack()->undo();
        QCOMPARE(stops.rowCount(), 0);
    }

    // A stop's English name made from its reading follows the reading until
    // the author types one; the English announcements follow the names and
    // keep to their lines when lines are inserted.
    void englishNamesFollowTheReadingUntilTyped()
    {
        RouteDocument document(nullptr, testGlyphs);
        StopTableModel stops(&document);
        QAbstractItemModelTester tester(&stops);
        QString error;
        QVERIFY2(stops.paste(0, StopTableModel::NameColumn, QStringLiteral("市役所前\tしやくしょまえ\n美杜駅\n"), false, error),
                 qPrintable(error));
        QCOMPARE(stops.index(0, StopTableModel::EnglishColumn).data().toString(), QStringLiteral("Shiyakusho-mae"));
        QVERIFY(stops.index(0, StopTableModel::EnglishColumn).data(StopTableModel::EnglishFromReadingRole).toBool());
        const QModelIndex english = stops.index(1, StopTableModel::EnglishColumn);
        QCOMPARE(english.data().toString(), QString()); // kanji without a reading

        QVERIFY(stops.setData(stops.index(1, StopTableModel::ReadingColumn), QStringLiteral("びもりえき")));
        QCOMPARE(english.data().toString(), QStringLiteral("Bimori-eki"));
        QVERIFY(stops.setData(english, QStringLiteral("Bito Station")));
        QVERIFY(!english.data(StopTableModel::EnglishFromReadingRole).toBool());
        QVERIFY(stops.setData(stops.index(1, StopTableModel::ReadingColumn), QStringLiteral("びとえき")));
        QCOMPARE(english.data().toString(), QStringLiteral("Bito Station"));
        QCOMPARE(RouteAnnouncements::englishOfSource(document.source()).last(),
                 QStringLiteral("The next stop is Bito Station, the last stop."));

        document.undoStack()->undo();
        document.undoStack()->undo();
        QCOMPARE(english.data().toString(), QStringLiteral("Bimori-eki"));
        QVERIFY(english.data(StopTableModel::EnglishFromReadingRole).toBool());

        AnnouncementModel announcements(&document);
        QVERIFY(announcements.insertRows(1, 1));
        QCOMPARE(RouteAnnouncements::englishOfSource(document.source()),
                 (QStringList{QStringLiteral("Thank you for riding. This bus is bound for Bimori-eki."), QString(),
                              QStringLiteral("The next stop is Bimori-eki, the last stop.")}));
        QVERIFY(announcements.setData(announcements.index(1, AnnouncementModel::EnglishColumn),
                                      QStringLiteral("Please hold on.")));
        QCOMPARE(announcements.index(1, AnnouncementModel::EnglishColumn).data().toString(), QStringLiteral("Please hold on."));
        QCOMPARE(document.source().englishAnnouncements.at(1), QStringLiteral("Please hold on."));
    }

    // The moved stop takes the ticket number of its new place, the board
    // follows, and so does a fare typed at it.
    void movingAStopRenumbersAndTheBoardFollows()
    {
        QTemporaryDir dir;
        RouteDocument document(nullptr, testGlyphs);
        RouteSource source = distanceRoute();
        source.overrides = {{4, 1, 500}};
        load(document, dir, source);
        StopTableModel stops(&document);
        FareGridModel grid(&document);
        QAbstractItemModelTester stopTester(&stops);
        QAbstractItemModelTester gridTester(&grid);
        QCOMPARE(stops.index(3, StopTableModel::TicketColumn).data().toInt(), 0);

        QVERIFY(stops.moveRows({}, 3, 1, {}, 1)); // 車庫前 to second place
        QCOMPARE(document.undoStack()->count(), 1);
        QCOMPARE(stops.index(1, StopTableModel::NameColumn).data().toString(), QStringLiteral("車庫前"));
        QCOMPARE(stops.index(1, StopTableModel::TicketColumn).data().toInt(), 2);
        QCOMPARE(stops.index(3, StopTableModel::TicketColumn).data().toInt(), 0);
        QCOMPARE(grid.index(3, 0).data().toString(), QStringLiteral("120")); // 市役所 now last: 3 km
        QCOMPARE(grid.index(1, 0).data().toString(), QStringLiteral("500"));
        QVERIFY(grid.index(1, 0).data(FareGridModel::OverriddenRole).toBool());
        QVERIFY(!grid.index(3, 0).data(FareGridModel::OverriddenRole).toBool());

        document.undoStack()->undo();
        QCOMPARE(document.source().stops, distanceRoute().stops);
        QCOMPARE(grid.index(3, 0).data().toString(), QStringLiteral("500"));
        QCOMPARE(grid.index(2, 0).data().toString(), QStringLiteral("120"));
    }

    void theTimetableIsEditedAndFollowsTheStops()
    {
        QTemporaryDir dir;
        RouteDocument document(nullptr, testGlyphs);
        RouteSource source = distanceRoute();
        source.trips = {{QStringLiteral("T1"), QString(), {}, {{0, 60}, {300, 300}, {}, {900, 900}}}};
        load(document, dir, source);
        TimetableModel timetable(&document);
        StopTableModel stops(&document);
        QAbstractItemModelTester tester(&timetable);
        const int third = TimetableModel::FirstStopColumn + 2;

        QVERIFY(timetable.setData(timetable.index(0, third), QStringLiteral("０:１０:００-24:10:30")));
        QCOMPARE(document.source().trips[0].times[2], (StopTime{600, 24 * 3600 + 630}));
        QCOMPARE(timetable.index(0, third).data().toString(), QStringLiteral("00:10:00-24:10:30"));
        QSignalSpy refused(&timetable, &TimetableModel::inputRefused);
        QVERIFY(!timetable.setData(timetable.index(0, third), QStringLiteral("7:60:00")));
        QVERIFY(!timetable.setData(timetable.index(0, TimetableModel::IdColumn), QString()));
        QCOMPARE(refused.count(), 2);

        // A stop removed takes its times along; one inserted has none.
        QVERIFY(stops.removeRows(1, 1));
        QCOMPARE(document.source().trips[0].times, std::vector<StopTime>({{0, 60}, {600, 24 * 3600 + 630}, {900, 900}}));
        QVERIFY(stops.insertRows(0, 1));
        QCOMPARE(document.source().trips[0].times.size(), size_t(4));
        QCOMPARE(document.source().trips[0].times[0], StopTime{});
        QCOMPARE(timetable.columnCount(), TimetableModel::FirstStopColumn + 4);

        QVERIFY(timetable.insertRows(1, 1));
        QCOMPARE(document.source().trips.size(), size_t(2));
        QCOMPARE(document.source().trips[1].id, QStringLiteral("便2"));
        QVERIFY(timetable.removeRows(0, 1));
        QCOMPARE(document.source().trips.size(), size_t(1));
        for (int step = 0; step < 5; ++step) {
            document.undoStack()->undo();
        }
        QVERIFY(document.source().trips == source.trips);
        QCOMPARE(timetable.index(0, third).data().toString(), QString());
        QCOMPARE(timetable.index(0, TimetableModel::FirstStopColumn).data().toString(), QStringLiteral("00:00:00-00:01:00"));
    }

    // Dirty means "differs from the file": saving makes clean, undoing back
    // to the saved state too, and a refused save leaves it dirty.
    void dirtyFollowsTheSavedStep()
    {
        QTemporaryDir dir;
        RouteDocument document(nullptr, testGlyphs);
        QSignalSpy cleanChanged(document.undoStack(), &QUndoStack::cleanChanged);
        RouteStop only;
        only.name = QStringLiteral("駅前");
        document.setRouteNumber(QStringLiteral("12"));
        document.insertStops(0, {only});
        QVERIFY(document.isDirty());
        const QString path = dir.filePath(QStringLiteral("12.route.json"));
        QString error;
        // One stop is no route: only the source is saved, as a draft.
        QVERIFY(!document.save(path, error));
        QVERIFY2(error.contains(QStringLiteral("2 以上")), qPrintable(error));
        QVERIFY(document.draftOnly());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("12.route.json")});
        QVERIFY(!document.isDirty());

        only.name = QStringLiteral("本町");
        document.insertStops(1, {only});
        document.setReading(QStringLiteral("本町"), QStringLiteral("ほんまち"));
        QVERIFY2(document.save(path, error), qPrintable(error));
        QVERIFY(!document.isDirty());
        QCOMPARE(readAll(dir.filePath(QStringLiteral("yomi.txt"))), Cp932::encode(QStringLiteral("本町,ほんまち\r\n")));

        AnnouncementModel announcements(&document);
        QAbstractItemModelTester tester(&announcements);
        announcements.regenerate();
        QVERIFY(document.isDirty());
        QCOMPARE(announcements.index(1, AnnouncementModel::TextColumn).data().toString(), QStringLiteral("次は、終点、本町です。"));
        document.undoStack()->undo();
        QVERIFY(!document.isDirty());
        document.undoStack()->undo();
        QVERIFY(document.isDirty());
        QCOMPARE(cleanChanged.size(), 7);

        RouteDocument reopened(nullptr, testGlyphs);
        QVERIFY2(reopened.open(path, error), qPrintable(error));
        QCOMPARE(reopened.readingFix(QStringLiteral("本町")), QStringLiteral("ほんまち"));
    }

    // "012" is route 12 to the display, which reads 12.hy3: the files are
    // named so, and so is the number kept.
    void routeNumbersNameTheFilesAsTheDisplayReadsThem()
    {
        QCOMPARE(RouteNumber::parse(u"012")->fareFileName(), QStringLiteral("12.hy3"));
        QVERIFY(!RouteNumber::parse(u"12\n"));
        QVERIFY(!RouteNumber::parse(u"123456"));
        QCOMPARE(RouteNumber::fromName(u"急行５１")->text(), QStringLiteral("51"));
        QVERIFY(!RouteNumber::fromName(u"12-1"));
        QVERIFY(!RouteNumber::fromName(u"循環"));

        QTemporaryDir dir;
        RouteDocument document(nullptr, testGlyphs);
        load(document, dir, distanceRoute());
        document.setRouteNumber(QStringLiteral("012"));
        QCOMPARE(document.source().route, QStringLiteral("12"));
        document.setRouteNumber(QStringLiteral("007"));
        QString error;
        QVERIFY2(document.save(dir.filePath(QStringLiteral("town.route.json")), error), qPrintable(error));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("7.hy3"))));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("7tp.csv"))));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("007.hy3"))));
    }

    // A new route under the number of one already in the folder (an import
    // keeps the feed's number) names that route's files before a save would
    // replace them; the route that wrote them saves without a word.
    void aSaveNamesTheFilesOfAnotherRoute()
    {
        QTemporaryDir dir;
        RouteDocument first(nullptr, testGlyphs);
        RouteSource route = distanceRoute();
        route.route = QStringLiteral("51");
        load(first, dir, route);
        QString error;
        QVERIFY2(first.save(dir.filePath(QStringLiteral("51.route.json")), error), qPrintable(error));
        QVERIFY(first.otherRoutesFiles(dir.filePath(QStringLiteral("51.route.json"))).isEmpty());

        RouteDocument imported(nullptr, testGlyphs);
        imported.setRouteNumber(QStringLiteral("51"));
        imported.insertStops(0, route.stops);
        QCOMPARE(imported.otherRoutesFiles(dir.filePath(QStringLiteral("kashimo.route.json"))),
                 (QStringList{dir.filePath(QStringLiteral("51.hy3")), dir.filePath(QStringLiteral("51tp.csv"))}));
        QCOMPARE(imported.otherRoutesFiles(dir.filePath(QStringLiteral("51.route.json"))).size(), 3);
        imported.setRouteNumber(QStringLiteral("52"));
        QVERIFY(imported.otherRoutesFiles(dir.filePath(QStringLiteral("kashimo.route.json"))).isEmpty());
    }

    // A stop name the fare data cannot hold: the UTF-8 source is saved as it
    // is, the fare data and announcements are not built, and the reason names
    // the stop and the character.
    void aNameCP932CannotWriteKeepsTheDraft()
    {
        QTemporaryDir dir;
        RouteDocument document(nullptr, testGlyphs);
        RouteSource source = distanceRoute();
        load(document, dir, source);
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("12.route.json"))));
        RouteStop stop = source.stops[1];
        stop.name = QStringLiteral("本町😀");
        document.setStop(1, stop);
        QVERIFY(document.isRefused());
        QString error;
        QVERIFY(!document.save(dir.filePath(QStringLiteral("12.route.json")), error));
        QVERIFY(document.draftOnly());
        QVERIFY2(error.contains(QStringLiteral("停留所 2（本町😀）: 停名の「😀」(U+1F600)はシフトJIS（CP932）で書けません")),
                 qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("12.route.json")});
        RouteDocument reopened(nullptr, testGlyphs);
        QVERIFY2(reopened.open(dir.filePath(QStringLiteral("12.route.json")), error), qPrintable(error));
        QCOMPARE(reopened.source().stops[1].name, QStringLiteral("本町😀"));
    }

    // A new route gets announcements made from its stops and a word while
    // its fares leave the board blank; an author's own empty list stays.
    void aNewRouteIsAnnouncedAndItsBlankBoardSaid()
    {
        QTemporaryDir dir;
        RouteDocument document(nullptr, testGlyphs);
        AnnouncementModel announcements(&document);
        QAbstractItemModelTester tester(&announcements);
        document.setRouteNumber(QStringLiteral("8"));
        document.insertStops(0, distanceRoute().stops);
        const auto said = [&document](const QString &words) {
            return std::any_of(document.problems().begin(), document.problems().end(),
                               [&words](const RouteProblem &p) { return p.text.contains(words); });
        };
        QVERIFY(said(QStringLiteral("運賃表示は空白")));
        QCOMPARE(announcements.rowCount(), 4);
        const QString path = dir.filePath(QStringLiteral("8.route.json"));
        QString error;
        QVERIFY2(document.save(path, error), qPrintable(error));
        QVERIFY(TapeCsv::readFile(dir.filePath(QStringLiteral("8tp.csv"))).records
                == RouteAnnouncements::generate(document.source()));

        FareRule flat;
        flat.flatFare = 200;
        document.setRule(flat);
        QVERIFY(!said(QStringLiteral("運賃表示は空白")));
        QVERIFY(announcements.removeRows(0, 4));
        QVERIFY(said(QStringLiteral("放送文がありません")));
        QVERIFY2(document.save(path, error), qPrintable(error));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("8tp.csv"))), QByteArray());
        RouteDocument reopened(nullptr, testGlyphs);
        QVERIFY2(reopened.open(path, error), qPrintable(error));
        QVERIFY(reopened.source().noAnnouncementsWanted);
    }

    // Delete over cells that show the rule's fare changes nothing: no undo
    // step, not modified; over a typed one it is one step.
    void clearingUntypedCellsIsNoStep()
    {
        QTemporaryDir dir;
        RouteDocument document(nullptr, testGlyphs);
        load(document, dir, distanceRoute());
        FareGridModel grid(&document);
        const QModelIndexList cells{grid.index(2, 0), grid.index(3, 0), grid.index(3, 1)};
        grid.clearOverrides(cells);
        QCOMPARE(document.undoStack()->count(), 0);
        QVERIFY(!document.isDirty());
        QVERIFY(grid.setData(grid.index(3, 1), 500));
        grid.clearOverrides(cells);
        QCOMPARE(document.undoStack()->count(), 2);
        QCOMPARE(grid.index(3, 1).data().toString(), QStringLiteral("120"));
    }

    // Undo goes back a bounded number of steps, each restoring exactly the
    // route it left, also on a long route with thousands of typed cells.
    void undoIsBoundedAndExact()
    {
        QTemporaryDir dir;
        RouteSource source;
        source.route = QStringLiteral("12");
        source.rule.kind = FareRule::Kind::Manual;
        for (int i = 1; i <= 121; ++i) {
            RouteStop stop;
            stop.name = QStringLiteral("停留所%1").arg(i);
            stop.ticket = i < 121 ? (i + 3) / 4 : 0;
            source.stops.push_back(stop);
            for (int c = 1; c <= 30 && (c - 1) * 4 + 1 < i; ++c) {
                source.overrides.push_back({i, c, 100 + i + c});
            }
        }
        RouteDocument document(nullptr, testGlyphs);
        load(document, dir, source);
        const int edits = RouteDocument::UndoSteps + 50;
        for (int e = 1; e <= edits; ++e) {
            RouteStop stop = document.source().stops[size_t(e % 121)];
            stop.name = QStringLiteral("名%1").arg(e);
            document.setStop(e % 121, stop);
        }
        document.setFare(120, 2, 999);
        document.removeStops(10, 5);
        QCOMPARE(document.undoStack()->count(), RouteDocument::UndoSteps);
        while (document.undoStack()->canUndo()) {
            document.undoStack()->undo();
        }
        // Back at the first step kept: every edit before it stays.
        QCOMPARE(document.source().overrides, source.overrides);
        QCOMPARE(document.source().stops[52].name, QStringLiteral("名52"));
        QCOMPARE(document.source().stops[53].name, QStringLiteral("停留所54"));
        while (document.undoStack()->canRedo()) {
            document.undoStack()->redo();
        }
        QCOMPARE(document.source().stops.size(), size_t(116));
        QCOMPARE(document.board().fare(115, 2), 999);
    }

    // A spreadsheet quotes a cell holding a tab or a line break: it is one
    // cell, not more rows.
    void pastedCellsAreUnquotedFirst()
    {
        RouteDocument document(nullptr, testGlyphs);
        StopTableModel stops(&document);
        QString error;
        QVERIFY2(stops.paste(0, StopTableModel::NameColumn,
                             QStringLiteral("\"本町\n二丁目\"\tほんまち\t1.5\r\n\"市役所\t前\"\t\t3\r\n"), false, error),
                 qPrintable(error));
        QCOMPARE(stops.rowCount(), 2);
        QCOMPARE(document.source().stops[0].name, QStringLiteral("本町二丁目"));
        QCOMPARE(document.source().stops[0].distanceTenths, 15);
        QCOMPARE(document.source().stops[1].name, QStringLiteral("市役所 前"));
        QVERIFY(!stops.paste(0, StopTableModel::NameColumn, QStringLiteral("\"駅前\t0\n"), false, error));
        QVERIFY2(error.contains(QStringLiteral("1 行目")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_RouteDocument)
#include "tst_RouteDocument.moc"
