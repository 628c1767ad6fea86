#include "../controls/DegitReader.h"

#include "FakeCompanion.h"
#include "controls/M_Degit.h"
#include "display/BoardLayout.h"
#include "display/ErrorReport.h"
#include "windows/Form1.h"
#include "display/JapaneseFonts.h"
#include "windows/mdlR57_000.h"
#include "windows/frmCtl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTime>
#include <QTimer>

class tst_Form1 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { JapaneseFonts::installSubstitutions(); }
    void init();
    void cleanup();

    void startUpLaysOutTheBoardAndRunsTheLampTest();
    void numberingWritesLabelsAndSizesPositionOne();
    void doubleClickCopiesTheFormatToEveryCell();
    void doubleClickIsIgnoredWithoutUserSet();
    void rejectedDialogChangesOnlyTheClickedCell();
    void clockCellsTakeHoursAndMinutes();
    void formInfoRoundTrip();
    void onlyLeftPressesOnTheSurfaceDrag();
    void closingTheControlPanelAsksFirst();
    void controlPanelSitsAtTheScreensBottomRight();
    void scaleKeysPaintTheBoardAtTheNewSize();
    void fullScreenCentresTheBoardAndReturns();
    void errorMessagesAreWordedLineByLine();

private:
    FakeCompanion *m_companion = nullptr;
    Form1 *m_form = nullptr;
};

void tst_Form1::init()
{
    m_companion = new FakeCompanion;
    PlatformServices services;
    services.companion = m_companion;
    m_form = new Form1(services);
    m_form->Form_Load();
}

void tst_Form1::cleanup()
{
    delete m_form;
    delete m_companion;
}

void tst_Form1::startUpLaysOutTheBoardAndRunsTheLampTest()
{
    QVERIFY(m_form->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(m_form->size(), QSize(921, 307));
    QCOMPARE(m_form->pos(), QPoint(0, 0));
    QVERIFY(!m_form->picture().isNull());
    QCOMPARE(m_form->picture().size(), QSize(921, 307));
    QVERIFY(m_form->controlPanel()->isVisible());
    QCOMPARE(m_form->controlPanel()->windowTitle(), QStringLiteral("集中操作盤"));

    QVERIFY(m_form->Degit(0)->isHidden());
    QVERIFY(m_form->lblSeiriNum(0)->isHidden());
    QVERIFY(m_form->TimeDegit(0)->isHidden());
    QVERIFY(m_form->TimeDegit(1)->isHidden());
    QCOMPARE(m_form->Degit(15)->geometry(), QRect(95, 78, 52, 20));
    QCOMPARE(m_form->lblSeiriNum(15)->geometry(), QRect(95, 63, 52, 16));
    for (int n = 1; n <= 98; ++n) {
        QCOMPARE(m_form->Degit(n)->degitStyle(), 1);
        QCOMPARE(readDegit(*m_form->Degit(n)), QStringLiteral("8888"));
    }
    QCOMPARE(m_form->lblSeiriNum(1)->text(), QStringLiteral("１"));
    QCOMPARE(m_form->lblSeiriNum(98)->text(), QStringLiteral("９８"));
}

void tst_Form1::numberingWritesLabelsAndSizesPositionOne()
{
    mdlR57_000 &panel = m_form->panelModule();
    QLabel *first = m_form->lblSeiriNum(1);
    const int size11 = first->font().pixelSize();

    panel.SeirikenNumSet(4, 0);
    QCOMPARE(first->text(), QStringLiteral("無 券"));
    QVERIFY(first->font().pixelSize() < size11);
    QCOMPARE(m_form->lblSeiriNum(2)->text(), QStringLiteral("１"));
    QCOMPARE(m_form->lblSeiriNum(98)->text(), QStringLiteral("９７"));

    panel.SeirikenNumSet(0, 1);
    QCOMPARE(first->text(), QStringLiteral("０１"));
    QCOMPARE(first->font().pixelSize(), size11);
    QCOMPARE(m_form->lblSeiriNum(5)->text(), QStringLiteral("０５"));
    QCOMPARE(m_form->lblSeiriNum(12)->text(), QStringLiteral("１２"));

    // Past the last style: position 1 empties, the rest stay as they were.
    panel.SeirikenNumSet(12, 0);
    QCOMPARE(first->text(), QString());
    QCOMPARE(m_form->lblSeiriNum(5)->text(), QStringLiteral("０５"));
    // A negative style only resets the font of position 1.
    panel.SeirikenNumSet(-1, 0);
    QCOMPARE(first->text(), QString());
    QCOMPARE(first->font().pixelSize(), size11);
}

void tst_Form1::doubleClickCopiesTheFormatToEveryCell()
{
    m_form->Degit(3)->setValue(210);
    m_form->Degit(4)->setValue(0);
    m_companion->dlg100ZeroMode = 1;
    m_companion->dlg100Shift = 1;
    m_companion->dlg100FillZero = 0;
    bool panelDisabledMeanwhile = false;
    m_companion->duringDlg100 = [&] { panelDisabledMeanwhile = !m_form->controlPanel()->isEnabled(); };

    QTest::mouseDClick(m_form->Degit(7), Qt::LeftButton);

    QVERIFY(panelDisabledMeanwhile);
    QVERIFY(m_form->controlPanel()->isEnabled());
    QCOMPARE(m_companion->calls.size(), 1);
    for (int n = 1; n <= 98; ++n) {
        QCOMPARE(m_form->Degit(n)->zeroMode(), 1);
        QCOMPARE(m_form->Degit(n)->shift(), 1);
    }
    QCOMPARE(readDegit(*m_form->Degit(3)), QStringLiteral("210 "));
    QCOMPARE(readDegit(*m_form->Degit(4)), QStringLiteral("  0 "));
    // A lamp-test cell keeps showing its 8s (the last four characters).
    QCOMPARE(readDegit(*m_form->Degit(5)), QStringLiteral("888 "));
    QCOMPARE(m_form->TimeDegit(0)->shift(), 0);
}

void tst_Form1::doubleClickIsIgnoredWithoutUserSet()
{
    m_form->Degit(7)->setUserSet(false);
    QTest::mouseDClick(m_form->Degit(7), Qt::LeftButton);
    QVERIFY(m_companion->calls.isEmpty());
    QVERIFY(m_form->controlPanel()->isEnabled());
}

void tst_Form1::rejectedDialogChangesOnlyTheClickedCell()
{
    m_companion->dlg100Result = 2;
    m_companion->dlg100Shift = 2;
    m_form->Degit_DblClick(9);
    QCOMPARE(m_form->Degit(9)->shift(), 2);
    QCOMPARE(m_form->Degit(10)->shift(), 0);
    QVERIFY(m_form->controlPanel()->isEnabled());
}

void tst_Form1::clockCellsTakeHoursAndMinutes()
{
    m_form->showClock(QTime(9, 5, 59));
    QCOMPARE(m_form->TimeDegit(0)->value().toDouble(), 9.0);
    QCOMPARE(m_form->TimeDegit(1)->value().toDouble(), 5.0);
    m_form->showClock(QTime(0, 0));
    QCOMPARE(m_form->TimeDegit(0)->value().toDouble(), 0.0);
    QCOMPARE(m_form->Timer1().interval(), 1000);
    QVERIFY(m_form->Timer1().isActive());
}

void tst_Form1::formInfoRoundTrip()
{
    m_form->SetFormInfo({1500, 3000});
    const FormInfo info = m_form->GetFormInfo();
    QCOMPARE(info.Left, 1500);
    QCOMPARE(info.Top, 3000);
}

void tst_Form1::onlyLeftPressesOnTheSurfaceDrag()
{
    const QPoint surface(5, 150);
    QVERIFY(m_form->startsDrag(Qt::LeftButton, surface));
    QVERIFY(!m_form->startsDrag(Qt::RightButton, surface));
    QVERIFY(!m_form->startsDrag(Qt::MiddleButton, surface));
    QVERIFY(!m_form->startsDrag(Qt::LeftButton, m_form->Degit(20)->geometry().center()));
    QVERIFY(!m_form->startsDrag(Qt::LeftButton, m_form->lblSeiriNum(20)->geometry().center()));
}

void tst_Form1::closingTheControlPanelAsksFirst()
{
    frmCtl *panel = m_form->controlPanel();
    QSignalSpy quit(panel, &frmCtl::quitRequested);
    QString asked;
    auto answer = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&asked, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            asked = box->windowTitle() + u'|' + box->text();
            box->button(button)->click();
        });
    };
    answer(QMessageBox::No);
    panel->close();
    QCOMPARE(asked, QStringLiteral("Taveloの終了確認|Taveloを終了しますか？"));
    QCOMPARE(quit.count(), 0);
    QVERIFY(panel->isVisible());

    answer(QMessageBox::Yes);
    panel->close();
    QCOMPARE(quit.count(), 1);
}

void tst_Form1::controlPanelSitsAtTheScreensBottomRight()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect panel = m_form->controlPanel()->frameGeometry();
    QCOMPARE(panel.bottomRight(), screen.bottomRight());
    // The design's size and the status row below it.
    QCOMPARE(m_form->controlPanel()->size(), QSize(353, 173 + 30));
}

void tst_Form1::scaleKeysPaintTheBoardAtTheNewSize()
{
    // The panel where the display, grown, will reach over it.
    frmCtl *panel = m_form->controlPanel();
    panel->move(500, 200);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QTest::keyClick(m_form, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(m_form->size(), QSize(1151, 384));
    QVERIFY(!panel->frameGeometry().intersects(m_form->frameGeometry()));
    QVERIFY(m_form->screen()->availableGeometry().contains(panel->frameGeometry()));
    // 150 % (1382 x 461) is wider than this 1280 x 800 screen: not offered.
    QCOMPARE(m_form->offeredScales(), (QList<int>{100, 125}));
    QTest::keyClick(m_form, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(m_form->size(), QSize(1151, 384));
    // Children are placed and drawn for the scale, not stretched.
    M_Degit *cell = m_form->Degit(1);
    QCOMPARE(cell->geometry(), QRect(119, 50, 65, 25));
    QCOMPARE(cell->picture().size(), QSize(65, 25));
    QCOMPARE(cell->scaledDigitSize(), QSize(16, 25));
    QCOMPARE(m_form->lblSeiriNum(1)->font().pixelSize(), 19); // 15 at 100 %
    // The built-in picture is drawn for the size, not blurred from 100 %: the
    // stop-name window's edge stands sharp against the black board.
    const QImage shown = m_form->grab().toImage();
    const int y = BoardLayout::stopNameRect().center().y() * 5 / 4;
    QSet<QRgb> colours;
    for (int x = 25; x < BoardLayout::stopNameRect().left() * 5 / 4; ++x) {
        colours.insert(shown.pixel(x, y) & 0xFFFFFF);
    }
    QCOMPARE(colours, (QSet<QRgb>{0x000000, 0x505050}));
    QTest::keyClick(m_form, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(m_form->size(), QSize(921, 307));
    QCOMPARE(cell->geometry(), QRect(95, 40, 52, 20));
}

void tst_Form1::fullScreenCentresTheBoardAndReturns()
{
    m_form->move(30, 40);
    m_form->setDisplayScale(150);
    m_form->showFullScreenOn(1);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(m_form->geometry(), screen);
    const QRect board = m_form->boardRect();
    QCOMPARE(board.center(), QRect(QPoint(0, 0), screen.size()).center());
    QCOMPARE(board.width(), screen.width());
    QVERIFY(!m_form->startsDrag(Qt::LeftButton, QPoint(5, 5)));
    // The window's own place is what the settings file keeps.
    QCOMPARE(m_form->GetFormInfo().Left, 30 * 15);

    m_form->leaveFullScreen();
    QCOMPARE(m_form->pos(), QPoint(30, 40));
    QCOMPARE(m_form->size(), QSize(1382, 461));
}

void tst_Form1::errorMessagesAreWordedLineByLine()
{
    QCOMPARE(ErrorReport::messageText(13, QStringLiteral("型が一致しません。"),
                                      QStringLiteral("モジュール：IniIO-SeirikenNumSet( )")),
             QStringLiteral("エラーです！\n\nコード：13\n\n内容：型が一致しません。\n\nモジュール：IniIO-SeirikenNumSet( )"));
}

QTEST_MAIN(tst_Form1)
#include "tst_Form1.moc"
