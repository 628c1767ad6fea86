#include "app/QtJapanese.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QColorDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// Qt's own dialogs speak Japanese even where the system speaks English.
class tst_QtJapanese : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void messageBoxButtons();
    void colourChooser();
    void calendar();
};

void tst_QtJapanese::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(QtJapanese::install(*qApp), "Qt's Japanese translations (qt6-translations-l10n) are not installed");
}

void tst_QtJapanese::messageBoxButtons()
{
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

void tst_QtJapanese::colourChooser()
{
    QColorDialog dialog;
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    QStringList texts;
    for (const QLabel *label : dialog.findChildren<QLabel *>()) {
        texts << label->text();
    }
    for (const QPushButton *button : dialog.findChildren<QPushButton *>()) {
        texts << button->text();
    }
    const QString all = texts.join(u' ');
    QVERIFY2(all.contains(QStringLiteral("キャンセル")), qPrintable(all));
    QVERIFY2(!all.contains(QStringLiteral("&Basic colors")), qPrintable(all));
}

void tst_QtJapanese::calendar()
{
    const QCalendarWidget calendar;
    QCOMPARE(calendar.locale().language(), QLocale::Japanese);
    QCOMPARE(calendar.locale().dayName(1, QLocale::ShortFormat), QStringLiteral("月"));
}

QTEST_MAIN(tst_QtJapanese)
#include "tst_QtJapanese.moc"
