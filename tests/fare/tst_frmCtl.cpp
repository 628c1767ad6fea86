#include "PanelFixture.h"

#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "display/DisplayScale.h"
#include "fare/PanelButton.h"
#include "settings/ColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QScreen>
#include <QTest>

// The control panel's handlers, against a route written by the test.
class tst_frmCtl : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString file(const QString &name) const { return m_dir.filePath(name); }

    // A three-stop route 7 whose column 150 selects the stepping sound:
    // 1, 2 and then 4 (no sound).
    void writeRoute7()
    {
        QVERIFY(writeRoute(file("7.hy3"), {QStringLiteral("駅前"), QStringLiteral("市役所"), QStringLiteral("中央公園")},
                           [](int stop, int column) {
                               return column == 150 ? qint16(stop == 3 ? 4 : stop) : distanceFare(stop, column);
                           }));
    }

    void setRouteFromKeypad(PanelFixture &f, const QString &route, const QString &section = QString())
    {
        f.setOptions([this](OptionInfo &o) { o.Folder.FareDataDir = m_dir.path(); });
        f.panel.CommandButton1_Click(KeypadEntry::RouteKey);
        for (QChar digit : route) {
            f.panel.CommandButton1_Click(digit.digitValue());
        }
        f.panel.CommandButton1_Click(KeypadEntry::SectionKey);
        for (QChar digit : section) {
            f.panel.CommandButton1_Click(digit.digitValue());
        }
        f.panel.Command1_Click(1);
    }

    static QStringList played(const FakeMultimedia &multimedia)
    {
        return multimedia.commands.filter(QStringLiteral("play "));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeRoute7();
        for (const char *name : {"set.wav", "key.wav", "one.wav", "two.wav", "three.wav", "always.wav"}) {
            QFile sound(file(QString::fromLatin1(name)));
            QVERIFY(sound.open(QIODevice::WriteOnly));
        }
    }

    void routeSettingRunsTheLampTestAndShowsTheStartStop()
    {
        PanelFixture f;
        f.setOptions([this](OptionInfo &o) { o.Sound.SndRouteSet = file("set.wav"); });
        QVERIFY(!f.panel.Command2(1)->isEnabled());
        setRouteFromKeypad(f, "7", "2");

        QVERIFY(f.bus.route().hasRoute());
        QCOMPARE(f.bus.route().currentStop(), 2);
        QVERIFY(f.multimedia.commands.contains(QStringLiteral("sleep 3000")));
        QCOMPARE(f.display.Degit(1)->value().toInt(), 0); // below the start section
        QCOMPARE(f.display.Degit(2)->value().toInt(), 100);
        QCOMPARE(f.display.Degit(3)->value().toInt(), -1);
        QCOMPARE(f.display.ChimeiCtl()->accessibleName(), QStringLiteral("市役所"));
        QVERIFY(f.panel.Command2(0)->isEnabled() && f.panel.Command2(1)->isEnabled() && f.panel.Check1()->isEnabled());
        QCOMPARE(f.display.Degit(2)->accessibleName(), QStringLiteral("整理券2 100"));
    }

    void refusedRouteKeepsThePreviousOneAndStillSounds()
    {
        PanelFixture f;
        setRouteFromKeypad(f, "7");
        f.setOptions([this](OptionInfo &o) { o.Sound.SndRouteSet = file("set.wav"); });
        f.multimedia.commands.clear();
        const QString status = f.panel.statusRow()->accessibleDescription();

        QString message;
        QString where;
        answerNextBox(QMessageBox::Ok, &message, &where);
        setRouteFromKeypad(f, "8"); // no such file
        QCOMPARE(message, QStringLiteral("指定した系統のデータがありません..."));
        QCOMPARE(where, QDir::toNativeSeparators(file("8.hy3")));
        QCOMPARE(played(f.multimedia).size(), 1); // the route-setting sound
        QVERIFY(!QFile::exists(file("8.hy3")));

        answerNextBox(QMessageBox::Ok, &message);
        setRouteFromKeypad(f, "7", "3"); // section 3 of a three-stop route
        QVERIFY(message.startsWith(QStringLiteral("指定した区間はデータの数よりも多いです...")));

        // Still route 7 at stop 1 with its announcements, stepping within its
        // three stops.
        QCOMPARE(f.panel.statusRow()->accessibleDescription(), status);
        QCOMPARE(f.bus.route().currentStop(), 1);
        for (int step = 0; step < 5; ++step) {
            f.panel.Command2_Click(1);
        }
        QCOMPARE(f.bus.route().currentStop(), 3);
    }

    void steppingStopsAtBothEndsAndChoosesItsSound()
    {
        PanelFixture f;
        f.setOptions([this](OptionInfo &o) {
            o.Sound.StepSndByColumn = -1;
            o.Sound.StepSndColumn = 149; // column 150 selects the sound
            o.Sound.StepSnd1 = file("one.wav");
            o.Sound.StepSnd2 = file("two.wav");
            o.Sound.StepSnd3 = file("three.wav");
            o.Sound.StepSndAsync = -1; // do not wait
        });
        setRouteFromKeypad(f, "7");
        f.multimedia.commands.clear();

        f.panel.Command2_Click(0); // at the first stop: nothing at all
        QVERIFY(f.multimedia.commands.isEmpty());

        f.panel.Command2_Click(1); // stop 2 selects sound 2
        QCOMPARE(played(f.multimedia).size(), 1);
        QVERIFY(f.multimedia.commands.filter("open").first().contains("two.wav"));
        QVERIFY(!played(f.multimedia).first().endsWith(" wait"));
        QCOMPARE(f.display.Degit(1)->value().toInt(), 110);

        f.multimedia.commands.clear();
        f.panel.Command2_Click(1); // stop 3 holds 4: silent
        QVERIFY(played(f.multimedia).isEmpty());
        QCOMPARE(f.display.Degit(3)->value().toInt(), 100);
        f.panel.Command2_Click(1); // at the last stop: nothing at all
        QVERIFY(f.multimedia.commands.isEmpty());
        QCOMPARE(f.bus.route().currentStop(), 3);

        // The same sound at every step, waited for.
        f.setOptions([this](OptionInfo &o) {
            o.Sound.StepSndAlways = -1;
            o.Sound.StepSndFile = file("always.wav");
            o.Sound.StepSndSync = -1;
        });
        f.panel.Command2_Click(0);
        QCOMPARE(played(f.multimedia).size(), 1);
        QVERIFY(played(f.multimedia).first().endsWith(" wait"));
        QVERIFY(f.multimedia.commands.filter("open").first().contains("always.wav"));
    }

    void lateNightDoublesFaresAtTheNextStopShown()
    {
        PanelFixture f;
        setRouteFromKeypad(f, "7");
        f.panel.Command2_Click(1);
        f.panel.Check2()->click();
        QCOMPARE(f.display.Degit(1)->value().toInt(), 110); // not redrawn by the box itself
        f.panel.Command2_Click(1);
        QCOMPARE(f.display.Degit(1)->value().toInt(), 240);
        QCOMPARE(f.display.Degit(4)->value().toInt(), -1);
    }

    void functionKeysStepFromEitherWindow()
    {
        PanelFixture f;
        setRouteFromKeypad(f, "7");
        f.display.show();
        f.panel.show();
        f.display.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.display));
        QTest::keyClick(&f.display, Qt::Key_F6);
        QCOMPARE(f.bus.route().currentStop(), 2);

        // A digit list keeps its arrow keys.
        f.panel.Frame1_DblClick(1);
        f.panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.panel));
        f.panel.List2(0)->setFocus();
        f.panel.List2(0)->setCurrentRow(3);
        QTest::keyClick(f.panel.List2(0), Qt::Key_Down);
        QCOMPARE(f.panel.List2(0)->currentRow(), 4);
        QTest::keyClick(f.panel.List2(0), Qt::Key_F5);
        QCOMPARE(f.bus.route().currentStop(), 1);
    }

    void stopsOutsideTheRouteShowNothing()
    {
        PanelFixture f;
        f.display.showStop(f.bus.stopView(1)); // before any route
        setRouteFromKeypad(f, "7");
        f.panel.Command2_Click(1);
        for (int stop : {0, 4, 301, 302, -1}) {
            f.display.showStop(f.bus.stopView(stop));
        }
        QCOMPARE(f.display.Degit(1)->value().toInt(), 110);
        QCOMPARE(f.display.ChimeiCtl()->accessibleName(), QStringLiteral("市役所"));
    }

    void informationNumbersComeFromTheOptions()
    {
        PanelFixture f;
        f.setOptions([](OptionInfo &o) {
            o.Degit.InfoSeiriOn = 1; // the ticket number into cell 3
            o.Degit.InfoSeiriCell = 2;
            o.Degit.InfoRouteOn = 1; // the route text, but no cell chosen
            o.Degit.InfoRouteCell = -1;
            o.Degit.InfoDataOn = 1; // column 150 into cell 1
            o.Degit.InfoDataCell = 0;
            o.Degit.InfoDataColumn = 149;
        });
        setRouteFromKeypad(f, "7");
        f.panel.Command2_Click(1);
        QCOMPARE(f.display.Degit(3)->value().toInt(), 2);
        QCOMPARE(f.display.Degit(1)->value().toInt(), 2); // the selector column of stop 2
        QCOMPARE(f.display.Degit(2)->value().toInt(), 100);
    }

    void keypadShowsWhatItTakesAndClicks()
    {
        PanelFixture f;
        f.setOptions([this](OptionInfo &o) { o.Sound.SndReset = file("key.wav"); });
        f.panel.CommandButton1(4)->click(); // before any target key: the section display
        QCOMPARE(f.panel.Label2(2)->text(), QStringLiteral("4"));
        f.panel.CommandButton1(KeypadEntry::RouteKey)->click();
        for (int digit : {1, 2, 3, 4, 5, 6}) {
            f.panel.CommandButton1(digit)->click();
        }
        QCOMPARE(f.panel.Label2(0)->text(), QStringLiteral("12345"));
        QCOMPARE(f.panel.Label2(0)->accessibleName(), QStringLiteral("系統 12345"));
        QCOMPARE(played(f.multimedia).size(), 8); // every key clicks
        QVERIFY(played(f.multimedia).first().contains("S1"));
    }

    void digitListsClickAndSetTheRoute()
    {
        PanelFixture f;
        f.setOptions([this](OptionInfo &o) {
            o.Sound.SndRouteSet = file("set.wav");
            o.Sound.SndReset = file("key.wav");
            o.Folder.FareDataDir = m_dir.path();
        });
        QTest::mouseClick(f.panel.List2(4)->viewport(), Qt::LeftButton, {},
                          f.panel.List2(4)->visualItemRect(f.panel.List2(4)->item(7)).center());
        QTest::mouseClick(f.panel.List3(2)->viewport(), Qt::LeftButton, {},
                          f.panel.List3(2)->visualItemRect(f.panel.List3(2)->item(2)).center());
        QCOMPARE(f.multimedia.commands.filter("open").size(), 2);
        QVERIFY(f.multimedia.commands.filter("open").at(0).contains("key.wav"));
        QVERIFY(f.multimedia.commands.filter("open").at(1).contains("set.wav"));
        f.panel.Command1(0)->click(); // route "7", section "2"
        QCOMPARE(f.bus.route().state().RouteText, QStringLiteral("7"));
        QCOMPARE(f.bus.route().currentStop(), 2);
    }

    void keypadWindowsAndStatusRowFollowTheRouteSet()
    {
        PanelFixture f;
        f.setOptions([this](OptionInfo &o) { o.Folder.FareDataDir = m_dir.path(); });
        QCOMPARE(f.panel.statusRow()->accessibleDescription(), QStringLiteral("系統未設定"));
        // What could not start is seen there until a route is set, and stays in the tooltip.
        f.panel.addStatusNotice(QStringLiteral("連携できません"));
        QCOMPARE(f.panel.statusRow()->text(), QStringLiteral("系統未設定\n連携できません"));
        f.panel.List2(4)->setCurrentRow(7);
        f.panel.List3(2)->setCurrentRow(2);
        f.panel.Command1(0)->click();
        f.panel.Frame1_DblClick(0); // the keypad to the front
        QCOMPARE(f.panel.Label2(0)->text(), QStringLiteral("7"));
        QCOMPARE(f.panel.Label2(2)->text(), QStringLiteral("2"));
        QCOMPARE(f.panel.statusRow()->accessibleName(), QStringLiteral("運行状況"));
        const auto status = [&f] { return f.panel.statusRow()->accessibleDescription(); };
        QVERIFY2(status().startsWith(QStringLiteral("系統 7　2 / 3　市役所　放送なし：")), qPrintable(status()));
        QVERIFY2(status().endsWith(QStringLiteral("\n連携できません")), qPrintable(status()));
        f.panel.Command2(1)->click();
        QVERIFY2(status().startsWith(QStringLiteral("系統 7　3 / 3　中央公園")), qPrintable(status()));
        QVERIFY(f.panel.statusRow()->text().startsWith(QStringLiteral("系統 7　3 / 3　中央公園\n")));

        // As the remote interface sets it.
        f.bus.setRoute(QStringLiteral("007"), QStringLiteral("1"));
        QCOMPARE(f.panel.Label2(0)->text(), QStringLiteral("007"));
        QCOMPARE(f.panel.Label2(2)->text(), QStringLiteral("1"));
        QVERIFY2(status().startsWith(QStringLiteral("系統 007　1 / 3　駅前")), qPrintable(status()));
        // The lists too, the last digit in the last list: their "リセット" sets it again.
        QVERIFY(f.panel.List2(1)->selectedItems().isEmpty());
        QCOMPARE(f.panel.List2(2)->selectedItems().value(0), f.panel.List2(2)->item(0));
        QCOMPARE(f.panel.List2(4)->selectedItems().value(0), f.panel.List2(4)->item(7));
        QCOMPARE(f.panel.List3(2)->selectedItems().value(0), f.panel.List3(2)->item(1));
        f.panel.Command2(1)->click();
        f.panel.Command1(0)->click();
        QCOMPARE(f.bus.route().state().RouteText, QStringLiteral("007"));
        QCOMPARE(f.bus.route().currentStop(), 1);
    }

    void scaledPanelIsLaidOutAnewAndKeepsItsPlace()
    {
        PanelFixture f;
        f.panel.move(40, 60);
        const CtrlDataInfo before = f.panel.GetCtrlDataInfo();
        const QRect key = f.panel.CommandButton1(5)->geometry();
        const int keyLetters = f.panel.CommandButton1(5)->font().pixelSize();
        for (const int percent : {200, 150, 100}) {
            f.panel.setPanelScale(percent);
            const qreal scale = percent / 100.0;
            QCOMPARE(f.panel.size(), (QSizeF(frmCtl::DesignSize.width(), frmCtl::DesignSize.height() + frmCtl::StatusRowHeight) * scale).toSize());
            QCOMPARE(f.panel.CommandButton1(5)->geometry(), DisplayScale::mapped(key, scale));
            QCOMPARE(f.panel.CommandButton1(5)->font().pixelSize(), qRound(keyLetters * scale));
            // Caption, slider and value side by side, none over another.
            for (int index = 0; index < 2; ++index) {
                const auto *caption = f.panel.findChild<QLabel *>(QStringLiteral("Label3(%1)").arg(index));
                QVERIFY(caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width());
                QVERIFY(caption->geometry().right() < f.panel.HScroll1(index)->geometry().left());
                QVERIFY(f.panel.HScroll1(index)->geometry().right() < f.panel.Label1(index)->geometry().left());
                QVERIFY(f.panel.Label1(index)->fontMetrics().horizontalAdvance(QStringLiteral("3000")) <= f.panel.Label1(index)->width());
            }
            // The digit lists show all ten rows in letters of the panel's size.
            QListWidget *list = f.panel.List2(0);
            QVERIFY(list->visualItemRect(list->item(9)).bottom() <= list->viewport()->height());
            QVERIFY(list->font().pixelSize() >= f.panel.font().pixelSize());
            QVERIFY(list->visualItemRect(list->item(0)).height()
                    >= list->fontMetrics().tightBoundingRect(QStringLiteral("0123456789")).height() + 2);
            QCOMPARE(f.panel.GetCtrlDataInfo(), before); // the saved place is not scaled
        }
    }

    // The tick of the late-night box and the dot of the backlight's option
    // stand out on their white box at every scale: ticked and unticked
    // differ in a good part of the box, not by a faint grey.
    void theLateNightTickIsPlainAtEveryScale()
    {
        PanelFixture f;
        const auto darkPixels = [](QAbstractButton *mark) {
            QStyleOptionButton option;
            option.initFrom(mark);
            const QRect box = mark->style()->subElementRect(
                qobject_cast<QCheckBox *>(mark) ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator,
                &option, mark);
            const QImage picture = mark->grab().toImage();
            int dark = 0;
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    dark += qGray(picture.pixel(x, y)) < 96 ? 1 : 0;
                }
            }
            return std::pair{dark, box.width() * box.height()};
        };
        for (const int percent : {100, 150, 200}) {
            f.panel.setPanelScale(percent);
            for (QAbstractButton *mark : {static_cast<QAbstractButton *>(f.panel.Check2()),
                                          static_cast<QAbstractButton *>(f.panel.Option4(1))}) {
                // An option button is cleared by choosing another.
                (mark == f.panel.Check2() ? mark : f.panel.Option4(0))->setChecked(mark != f.panel.Check2());
                QVERIFY(!mark->isChecked());
                const auto [unticked, area] = darkPixels(mark);
                mark->setChecked(true);
                const int ticked = darkPixels(mark).first;
                QVERIFY2(ticked - unticked >= area / 10,
                         qPrintable(QStringLiteral("%1 at %2 %: %3 dark pixels ticked, %4 unticked, of %5")
                                        .arg(mark->objectName()).arg(percent).arg(ticked).arg(unticked).arg(area)));
            }
        }
    }

    void clearDisplayBlanksAndRestores()
    {
        PanelFixture f;
        setRouteFromKeypad(f, "7");
        f.panel.Command2_Click(1);
        f.panel.Check1()->click();
        QCOMPARE(f.display.Degit(1)->shownText(), QString());
        QCOMPARE(f.display.ChimeiCtl()->accessibleName(), QString());
        QVERIFY(!f.display.Timer1().isActive());
        QVERIFY(!f.panel.Frame1(0)->isEnabled() && !f.panel.Frame1(1)->isEnabled());
        QVERIFY(!f.panel.Command2(1)->isEnabled());
        f.panel.Command2(1)->click(); // unavailable while cleared
        QCOMPARE(f.bus.route().currentStop(), 2);

        f.panel.Check1()->click();
        QVERIFY(f.panel.Frame1(1)->isEnabled() && f.panel.Command2(1)->isEnabled());
        QCOMPARE(f.display.Degit(1)->value().toInt(), 110);
        QCOMPARE(f.display.ChimeiCtl()->accessibleName(), QStringLiteral("市役所"));
        QVERIFY(!f.display.Timer1().isActive()); // this layout hides the clock
    }

    void userPanelThatIsMissingChangesOnlyTheLabelColour()
    {
        PanelFixture f;
        f.setOptions([this](OptionInfo &o) {
            o.Panel.PanelCustom = -1; // a picture per state
            o.Panel.PanelOn1User = -1;
            o.Panel.PanelOn1File = file("missing.bmp");
        });
        const qint64 before = f.display.picture().cacheKey();
        f.panel.Option4(1)->click();
        QCOMPARE(f.display.picture().cacheKey(), before);
        QCOMPARE(f.display.lblSeiriNum(98)->palette().color(QPalette::WindowText), QColor(0xC0, 0xFF, 0xC0));
        QCOMPARE(f.panel.backlightState(), 1);
    }

    void openingThePreviewKeepsThePanelOnTheScreen()
    {
        PanelFixture f;
        f.panel.show();
        const QRect area = f.panel.screen()->availableGeometry();
        f.panel.move(area.right() + 1 - f.panel.frameGeometry().width(), area.top());
        f.panel.Check4()->click();
        QCOMPARE(f.panel.width(), frmCtl::PreviewOpenWidth);
        QVERIFY(f.panel.frameGeometry().right() <= area.right());
    }

    void recordRoundTripRestoresThePanel()
    {
        PanelFixture f;
        const CtrlDataInfo saved{1, 500, 1200, 1, 1, 1500, 3000};
        f.panel.SetCtrlDataInfo(saved);
        QCOMPARE(f.panel.GetCtrlDataInfo(), saved);
        QCOMPARE(f.panel.width(), frmCtl::PreviewOpenWidth);
        QCOMPARE(f.panel.Check4()->text(), QStringLiteral("<<"));
        QCOMPARE(f.panel.Label1(0)->text(), QStringLiteral("500"));
        QCOMPARE(f.display.ChimeiCtl()->speed(), 500);
        QCOMPARE(f.display.ChimeiCtl()->scrollStartWait(), 1200);
        // The keypad frame was sent behind: the lists are in front.
        const QPoint inside = f.panel.Frame1(0)->geometry().center();
        QWidget *front = f.panel.childAt(inside);
        QVERIFY(front == f.panel.Frame1(0) || f.panel.Frame1(0)->isAncestorOf(front));

        // Values beyond a slider's range are corrected, not stored.
        f.panel.SetCtrlDataInfo({0, 9999, -5, 0, 0, 0, 0});
        QCOMPARE(f.panel.HScroll1(0)->value(), 2000);
        QCOMPARE(f.panel.HScroll1(1)->value(), 0);
        QCOMPARE(f.panel.width(), frmCtl::DesignSize.width());
    }

    void closingEitherWindowAsksFirst()
    {
        PanelFixture f;
        QSignalSpy quit(&f.panel, &frmCtl::quitRequested);
        f.panel.show();
        answerNextBox(QMessageBox::No);
        f.display.close();
        QCOMPARE(quit.count(), 0);
        QVERIFY(f.panel.isVisible());
        QVERIFY(f.multimedia.commands.filter("close").isEmpty());

        answerNextBox(QMessageBox::Yes);
        f.panel.close();
        QCOMPARE(quit.count(), 1);
        QCOMPARE(f.multimedia.commands.filter("close").size(), 4); // every sound channel
    }

    void aboutNamesModelAndVersion()
    {
        PanelFixture f;
        f.panel.Command8_Click();
        QCOMPARE(f.companion.calls.size(), 1);
        const QStringList lines = frmCtl::aboutText().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.at(0), QStringLiteral("型番：tst_frmCtl"));
        QCOMPARE(lines.at(1), QStringLiteral("バージョン：4.0.0"));
        QCOMPARE(lines.at(2), QString());
        QVERIFY(f.display.isEnabled());
    }

    void controlsAreNamedForAssistiveTechnology()
    {
        PanelFixture f;
        QCOMPARE(f.panel.List2(0)->accessibleName(), QStringLiteral("系統 1桁目"));
        QCOMPARE(f.panel.HScroll1(1)->accessibleName(), QStringLiteral("ｽｸﾛｰﾙ間隔"));
        QVERIFY(f.panel.Command2(1)->toolTip().contains(QStringLiteral("F6")));
        // A disabled coloured key is painted dimmed.
        QVERIFY(!f.panel.Command2(1)->isEnabled());
        QVERIFY(f.panel.Command2(1)->paintedFace().value() < f.panel.Command2(1)->face().value() / 2);
    }
};

QTEST_MAIN(tst_frmCtl)
#include "tst_frmCtl.moc"
