#include "ticket/SeirikenPreview.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QtTest>

class tst_SeirikenPreview : public QObject
{
    Q_OBJECT

private slots:
    void copyPutsThePictureOnTheClipboard();
    void emptyPreviewCopiesAWhiteBitmap();
    void rightClickOpensTheCopyMenu();
};

void tst_SeirikenPreview::copyPutsThePictureOnTheClipboard()
{
    SeirikenPreview preview;
    preview.resize(220, 93);
    QPainter(&preview.image()).fillRect(10, 10, 30, 20, Qt::black);
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    preview.MnuHideCopy()->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(220, 93));
    QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), preview.image());
    // Only the picture is on it; the earlier text is gone.
    QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
}

void tst_SeirikenPreview::emptyPreviewCopiesAWhiteBitmap()
{
    SeirikenPreview preview;
    preview.resize(220, 93);
    QPainter(&preview.image()).fillRect(0, 0, 50, 50, Qt::black);
    preview.clear();
    preview.MnuHideCopy_Click();
    const QImage copied = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(copied.size(), QSize(220, 93));
    QImage white(copied.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(copied, white);
}

void tst_SeirikenPreview::rightClickOpensTheCopyMenu()
{
    SeirikenPreview preview;
    preview.resize(220, 93);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QCOMPARE(preview.MnuHide()->actions(), QList<QAction *>{preview.MnuHideCopy()});
    QCOMPARE(preview.MnuHideCopy()->text(), QStringLiteral("コピー(&C)"));
    QTest::mouseClick(&preview, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(!preview.MnuHide()->isVisible());
    QTest::mousePress(&preview, Qt::RightButton, {}, QPoint(20, 20));
    QTRY_VERIFY(preview.MnuHide()->isVisible());
    preview.MnuHide()->close();
}

QTEST_MAIN(tst_SeirikenPreview)
#include "tst_SeirikenPreview.moc"
