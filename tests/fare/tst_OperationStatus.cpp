#include "fare/FareFiles.h"
#include "sound/FakeSpeech.h"

#include "formats/Cp932.h"
#include "fare/FareRoute.h"
#include "fare/OperationStatus.h"
#include "sound/mdlM_Tape.h"

#include <QTemporaryDir>
#include <QTest>

// The status row's line, from a route and its announcements as the panel
// holds them.
class tst_OperationStatus : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QStringList m_log;
    FakeSpeechService m_speech{m_log};
    FakeChimePlayer m_chimes{m_log};

    QString folder() const { return m_dir.path() + "/"; }

    void writeTape(const QString &route, const QByteArray &cp932Lines)
    {
        QVERIFY(FareFiles::write(folder() + route + "tp.csv", cp932Lines));
    }

    FareRoute loadRoute(const QString &route, const QString &section)
    {
        FareRoute fares;
        const RouteRequest request = RouteSetting::request(route, section);
        fares.load(request, RouteSetting::fareFilePath(folder(), request.routeNumber));
        return fares;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(FareFiles::writeStops(folder() + "12.hy3", 4));
        writeTape("12", Cp932::encode(QStringLiteral("次は停留所2です,1,0\r\n,1,0\r\n")));
        // Line 2 has no flags.
        writeTape("13", Cp932::encode(QStringLiteral("次は停留所2です,1,0\r\n壊れた行\r\n")));
        QVERIFY(FareFiles::writeStops(folder() + "13.hy3", 4));
    }

    void saysWhereTheBusIsAndWhatItAnnouncesNext()
    {
        mdlM_Tape tape(&m_speech, &m_chimes, [] { return TapeOptions(); });
        tape.InitSpeech();
        FareRoute nothing;
        QCOMPARE(OperationStatus(nothing, tape).text(), QStringLiteral("系統未設定"));

        // Entered with a leading zero and from the second section.
        FareRoute fares = loadRoute("012", "2");
        tape.LoadTape(folder(), "12");
        const OperationStatus status(fares, tape);
        QCOMPARE(status.text(), QStringLiteral("系統 012　2 / 4　停留所2　次の放送：次は停留所2です"));
        tape.TapeNext();
        QCOMPARE(status.announcementText(), QStringLiteral("次の放送：（料金を進めるだけ）"));
        tape.TapeNext();
        fares.stepForward();
        QCOMPARE(status.text(), QStringLiteral("系統 012　3 / 4　停留所3　次の放送：なし（最後の放送まで済みました）"));
    }

    void saysWhyThereAreNoAnnouncements()
    {
        mdlM_Tape tape(&m_speech, &m_chimes, [] { return TapeOptions(); });
        tape.InitSpeech();
        const FareRoute fares = loadRoute("13", "");
        tape.LoadTape(folder(), "13");
        const QString text = OperationStatus(fares, tape).text();
        // The file and the line, as the announcement group's tooltip says.
        QVERIFY2(text.startsWith(QStringLiteral("系統 13　1 / 4　停留所1　放送なし：")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("13tp.csv")) && text.contains(QStringLiteral("2 行目")), qPrintable(text));

        mdlM_Tape silent(nullptr, nullptr, [] { return TapeOptions(); });
        silent.InitSpeech();
        silent.LoadTape(folder(), "12");
        QCOMPARE(OperationStatus(fares, silent).announcementText(), QStringLiteral("放送なし：音声合成を使えません"));
    }
};

QTEST_GUILESS_MAIN(tst_OperationStatus)
#include "tst_OperationStatus.moc"
