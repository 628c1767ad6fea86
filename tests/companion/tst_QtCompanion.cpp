#include "companion/QtCompanion.h"
#include "controls/M_Degit.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QSpinBox>
#include <QTest>

namespace {

// Sets the cell dialog's controls and accepts it, or cancels it.
void acceptCellDialog(QDialog *dialog)
{
    dialog->findChild<QComboBox *>("zeroMode")->setCurrentIndex(3);
    dialog->findChild<QSpinBox *>("shift")->setValue(1);
    dialog->findChild<QSpinBox *>("fillZero")->setValue(2);
    QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
}

void cancelDialog(QDialog *dialog)
{
    QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
}

} // namespace

class tst_QtCompanion : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QtCompanion::setDialogHook(nullptr); }
    void fileFiltersFromNulSeparatedPairs();
    void cellDialogEditsTheThreeValues();
    void cancelledDialogsChangeNothing();
    void reportsTheRunningSystem();
};

void tst_QtCompanion::fileFiltersFromNulSeparatedPairs()
{
    using namespace Qt::Literals::StringLiterals;
    QCOMPARE(QtCompanion::qtFileFilter(u"サウンド\0*.wav;*.mp3\0すべて\0*.*\0\0"_s),
             u"サウンド (*.wav *.mp3);;すべて (*.*)"_s);
    // A description that already lists its patterns is not doubled.
    QCOMPARE(QtCompanion::qtFileFilter(u"画像(*.bmp;*.gif)\0*.bmp;*.gif\0\0"_s), u"画像 (*.bmp *.gif)"_s);
    QCOMPARE(QtCompanion::qtFileFilter(u"lonely\0"_s), QString());
}

void tst_QtCompanion::cellDialogEditsTheThreeValues()
{
    QtCompanion companion;
    QtCompanion::setDialogHook(acceptCellDialog);
    qint16 zeroMode = 0, shift = 0, fillZero = 0;
    QCOMPARE(companion.Call_dlg100(nullptr, 4, zeroMode, shift, fillZero), 1);
    QCOMPARE(zeroMode, qint16(3));
    QCOMPARE(shift, qint16(1));
    QCOMPARE(fillZero, qint16(2));
}

void tst_QtCompanion::cancelledDialogsChangeNothing()
{
    QtCompanion companion;
    QtCompanion::setDialogHook(cancelDialog);
    qint16 zeroMode = 2, shift = 1, fillZero = 3;
    QCOMPARE(companion.Call_dlg100(nullptr, 4, zeroMode, shift, fillZero), 0);
    QCOMPARE(zeroMode, qint16(2));
    QCOMPARE(shift, qint16(1));
    QCOMPARE(fillZero, qint16(3));

    SystemTime date;
    QCOMPARE(companion.Call_dlg111(nullptr, date), 0);
    QCOMPARE(date.wYear, qint16(0));
    QCOMPARE(companion.Brix3FolderDlg(nullptr, QStringLiteral("フォルダーを選択してください")), QString());

    quint32 colour = 0x123456;
    CustomColors custom{};
    custom[16] = 0xABCDEF;
    QCOMPARE(companion.Brix3ChooseColor(nullptr, colour, custom), 0);
    QCOMPARE(colour, 0x123456u);
    QCOMPARE(custom[16], 0xABCDEFu);
}

void tst_QtCompanion::reportsTheRunningSystem()
{
    QtCompanion companion;
    QVERIFY(!companion.GetOsInfo().isEmpty());
}

QTEST_MAIN(tst_QtCompanion)
#include "tst_QtCompanion.moc"
