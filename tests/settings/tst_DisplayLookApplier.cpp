#include "FakeCompanion.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "windows/Form1.h"
#include "windows/mdlR57_000.h"
#include "windows/frmCtl.h"
#include "settings/ColorButton.h"
#include "windows/frmOption.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// The options are applied through the dialog's SetProp, as OK, the panel
// start-up and the settings load do.
class tst_DisplayLookApplier : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void labelsHiddenAreStillNumbered();
    void numberingStyleWithLeadingZeros();
    void cellColoursReachTheDisplayOnlyOnOk();
    void labelColourIsTheBacklightStatesColour();
    void stopNameLookFollowsTheOptions();
    void userPanelPictureForTheBacklightState();
    void missingOrBrokenUserPanel();

private:
    frmOption &options() { return *m_display->optionsDialog(); }
    QColor labelColor(int n) const { return m_display->lblSeiriNum(n)->palette().color(QPalette::WindowText); }
    void useUserPanelForOff(const QString &file);

    FakeCompanion m_companion;
    std::unique_ptr<Form1> m_display;
};

void tst_DisplayLookApplier::init()
{
    m_display = std::make_unique<Form1>(PlatformServices{&m_companion});
    m_display->panelModule().InitPanel();
}

void tst_DisplayLookApplier::cleanup()
{
    m_display.reset();
}

void tst_DisplayLookApplier::labelsHiddenAreStillNumbered()
{
    QVERIFY(m_display->lblSeiriNum(1)->isVisibleTo(m_display.get()));
    options().Check1()->setChecked(false);
    options().Combo2()->setCurrentIndex(4); // 「無券」、1,2...
    options().acceptEdits();
    for (int n = 1; n <= 98; ++n) {
        QVERIFY(m_display->lblSeiriNum(n)->isHidden());
    }
    QCOMPARE(m_display->lblSeiriNum(1)->text(), QStringLiteral("無 券"));
    QCOMPARE(m_display->lblSeiriNum(2)->text(), QStringLiteral("１"));
    QCOMPARE(m_display->lblSeiriNum(98)->text(), QStringLiteral("９７"));

    options().Check1()->setChecked(true);
    options().acceptEdits();
    QVERIFY(!m_display->lblSeiriNum(98)->isHidden());
}

void tst_DisplayLookApplier::numberingStyleWithLeadingZeros()
{
    options().Combo2()->setCurrentIndex(0);
    options().Check2()->setChecked(true);
    options().acceptEdits();
    QCOMPARE(m_display->lblSeiriNum(5)->text(), QStringLiteral("０５"));
    QCOMPARE(m_display->lblSeiriNum(12)->text(), QStringLiteral("１２"));
}

void tst_DisplayLookApplier::cellColoursReachTheDisplayOnlyOnOk()
{
    m_companion.colorResult = 1;
    const quint32 colors[] = {0x102030, 0x405060, 0x0000FF};
    for (int i = 0; i < 3; ++i) {
        m_companion.colorAnswer = colors[i];
        options().Command8(i)->click();
    }
    QCOMPARE(m_display->Degit(1)->backColor(), M_Degit::DefaultBackColor);

    options().show();
    options().Command4()->click(); // OK
    QVERIFY(options().isHidden());
    for (M_Degit *cell : {m_display->Degit(1), m_display->Degit(98), m_display->TimeDegit(0), m_display->TimeDegit(1)}) {
        QCOMPARE(cell->backColor(), colors[0]);
        QCOMPARE(cell->baseForeColor(), colors[1]);
        QCOMPARE(cell->degitForeColor(), colors[2]);
    }
}

void tst_DisplayLookApplier::stopNameLookFollowsTheOptions()
{
    ChimeiCtl_B *strip = m_display->ChimeiCtl();
    // Untouched face list: mode -1, drawn as gothic.
    QCOMPARE(strip->fontMode(), -1);
    QVERIFY(!strip->fontBold());

    m_companion.colorResult = 1;
    m_companion.colorAnswer = 0x202020;
    options().Command9(0)->click();
    m_companion.colorAnswer = 0x00FF00;
    options().Command9(1)->click();
    options().Combo3()->setCurrentIndex(2);
    options().Check4()->setChecked(true);
    options().show();
    options().Command4()->click(); // OK

    QCOMPARE(strip->backColor(), 0x202020u);
    QCOMPARE(strip->foreColor(), 0x00FF00u);
    QCOMPARE(strip->fontMode(), 2);
    QVERIFY(strip->fontBold());
}

void tst_DisplayLookApplier::labelColourIsTheBacklightStatesColour()
{
    QCOMPARE(labelColor(1), QColor(Qt::white));
    options().Command5(0)->setColor(0x0000FF);
    options().Command5(1)->setColor(0x00FF00);
    options().acceptEdits();
    // The control panel is on OFF: only the OFF colour shows.
    QCOMPARE(m_display->controlPanel()->backlightState(), 0);
    QCOMPARE(labelColor(1), QColor(Qt::red));
    QCOMPARE(labelColor(98), QColor(Qt::red));
}

void tst_DisplayLookApplier::useUserPanelForOff(const QString &file)
{
    options().Option3(1)->setChecked(true);
    options().Option3(6)->setChecked(true);
    options().txtSelectPanel(0)->setText(file);
}

void tst_DisplayLookApplier::userPanelPictureForTheBacklightState()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("off.bmp");
    QImage small(40, 20, QImage::Format_RGB32);
    small.fill(Qt::blue);
    QVERIFY(small.save(file, "BMP"));

    useUserPanelForOff(file);
    options().acceptEdits();
    const QImage shown = m_display->picture().toImage();
    QCOMPARE(shown.size(), QSize(921, 307));
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(shown.pixelColor(39, 19), QColor(Qt::blue));
    // Beyond a smaller picture the panel is grey.
    QCOMPARE(shown.pixelColor(500, 200), QColor(0xC0, 0xC0, 0xC0));

    // Back to the built-in panel.
    options().Option3(0)->setChecked(true);
    options().acceptEdits();
    QCOMPARE(m_display->picture().cacheKey(), m_display->imgRes(0).cacheKey());
}

void tst_DisplayLookApplier::missingOrBrokenUserPanel()
{
    const qint64 builtIn = m_display->picture().cacheKey();
    options().Command5(0)->setColor(0x00FF00);

    useUserPanelForOff("/no/such/panel.bmp");
    options().acceptEdits();
    QCOMPARE(m_display->picture().cacheKey(), builtIn);
    QCOMPARE(labelColor(1), QColor(Qt::green));

    QTemporaryDir dir;
    QFile broken(dir.filePath("broken.bmp"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    options().txtSelectPanel(0)->setText(broken.fileName());
    options().Command5(0)->setColor(0x0000FF);
    QString message;
    QTimer::singleShot(0, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            message = box->windowTitle() + "|" + box->text();
            box->close();
        }
    });
    options().acceptEdits();
    QCOMPARE(message, QStringLiteral("エラー|エラーです。\n\nエラーコード：481　指定した画像の内容が不正です。この部分では扱えません。"));
    QCOMPARE(m_display->picture().cacheKey(), builtIn);
    // The label colour is applied whatever became of the picture.
    QCOMPARE(labelColor(1), QColor(Qt::red));
}

QTEST_MAIN(tst_DisplayLookApplier)
#include "tst_DisplayLookApplier.moc"
