#include "PanelFixture.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "fare/PanelButton.h"
#include "remote/PanelRemote.h"
#include "remote/PanelState.h"
#include "settings/SettingsLocation.h"
#include "settings/SideSettings.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The real windows, started as the program starts them: route 0 set from
// untouched digit lists, then two data steps.
class tst_PanelEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void setRouteZeroAndStepTwice()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // An empty fare data folder reads the working folder.
        QVERIFY(QDir::setCurrent(dir.path()));
        const QStringList names = {QStringLiteral("中央駅"), QStringLiteral("本町二丁目"), QStringLiteral("県立美術館前"),
                                   QStringLiteral("港﨑")};
        QVERIFY(writeRoute(dir.filePath("0.hy3"), names, distanceFare));

        PanelFixture f;
        f.display.Form_Load();
        QVERIFY(f.display.isVisible() && f.panel.isVisible());

        QTest::mouseClick(f.panel.Command1(0), Qt::LeftButton);
        QCOMPARE(f.display.ChimeiCtl()->accessibleName(), names.at(0));
        QTest::mouseClick(f.panel.Command2(1), Qt::LeftButton);
        QTest::mouseClick(f.panel.Command2(1), Qt::LeftButton);

        QCOMPARE(f.panel.route().currentStop(), 3);
        QCOMPARE(f.display.ChimeiCtl()->accessibleName(), names.at(2));
        QCOMPARE(f.display.Degit(1)->shownText(), QStringLiteral("120"));
        QCOMPARE(f.display.Degit(2)->shownText(), QStringLiteral("110"));
        QCOMPARE(f.display.Degit(3)->shownText(), QStringLiteral("100"));
        QCOMPARE(f.display.Degit(3)->accessibleName(), QStringLiteral("整理券3 100"));
        QCOMPARE(f.display.Degit(4)->value().toInt(), -1);
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
    }

    // A ticket not drawn yet has no fare (-1): it shows as the options'
    // "運賃のない欄" says, on the board and in what the remote interface
    // sends, and the choice is kept in the side settings file.
    void aCellWithoutAFareShowsAsChosenOnTheBoardAndTheRemote()
    {
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        QVERIFY(writeRoute(dir.filePath("0.hy3"), {QStringLiteral("中央駅"), QStringLiteral("本町二丁目")}, distanceFare));
        const SettingsLocation location(dir.filePath("R57"), dir.path(), true);
        FakeCompanion companion;
        FakeMultimedia multimedia;
        PlatformServices services;
        services.companion = &companion;
        services.multimedia = &multimedia;
        services.settings = &location;
        Form1 display(services);
        display.Form_Load();
        frmCtl &panel = *display.controlPanel();
        frmOption &options = *display.optionsDialog();
        const PanelRemote remote(display);
        QTest::mouseClick(panel.Command1(0), Qt::LeftButton);

        // At the first stop ticket 1 pays 100 yen and ticket 2 has no fare.
        QCOMPARE(options.cmbMissingFare()->currentText(), QStringLiteral("-1"));
        QCOMPARE(display.Degit(2)->shownText(), QStringLiteral("-1"));
        QCOMPARE(remote.state().cells.at(1), QStringLiteral("-1"));
        const std::array<std::pair<DegitFormat::MissingFare, QString>, 3> choices = {
            {{DegitFormat::MissingFare::Blank, QString()},
             {DegitFormat::MissingFare::Dash, QStringLiteral("----")},
             {DegitFormat::MissingFare::MinusOne, QStringLiteral("-1")}}};
        for (const auto &[choice, shown] : choices) {
            options.cmbMissingFare()->setCurrentIndex(static_cast<int>(choice));
            options.Command4()->click();
            QCOMPARE(display.Degit(2)->shownText(), shown);
            QCOMPARE(remote.state().cells.at(1), shown);
            QCOMPARE(remote.state().cells.at(0), QStringLiteral("100"));
            QCOMPARE(SideSettings::load(location.sidePath()).displayMissingFare, choice);
        }

        // The next start shows the kept choice from the first route setting.
        options.cmbMissingFare()->setCurrentIndex(static_cast<int>(DegitFormat::MissingFare::Dash));
        options.Command4()->click();
        Form1 again(services);
        again.Form_Load();
        QCOMPARE(again.optionsDialog()->cmbMissingFare()->currentText(), QStringLiteral("—"));
        QTest::mouseClick(again.controlPanel()->Command1(0), Qt::LeftButton);
        QCOMPARE(again.Degit(2)->shownText(), QStringLiteral("----"));
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
    }
};

QTEST_MAIN(tst_PanelEndToEnd)
#include "tst_PanelEndToEnd.moc"
