#include "PanelFixture.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "fare/PanelButton.h"

#include <QDir>
#include <QLabel>
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

        QCOMPARE(f.bus.route().currentStop(), 3);
        QCOMPARE(f.display.ChimeiCtl()->accessibleName(), names.at(2));
        QCOMPARE(f.display.Degit(1)->shownText(), QStringLiteral("120"));
        QCOMPARE(f.display.Degit(2)->shownText(), QStringLiteral("110"));
        QCOMPARE(f.display.Degit(3)->shownText(), QStringLiteral("100"));
        QCOMPARE(f.display.Degit(3)->accessibleName(), QStringLiteral("整理券3 100"));
        QCOMPARE(f.display.Degit(4)->value().toInt(), -1);
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
    }
};

QTEST_MAIN(tst_PanelEndToEnd)
#include "tst_PanelEndToEnd.moc"
