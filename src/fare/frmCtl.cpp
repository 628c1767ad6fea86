#include "frmCtl.h"

#include "controls/ChimeiCtl_B.h"
#include "display/Form1.h"
#include "settings/ColorButton.h"
#include "settings/frmOption.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

frmCtl::frmCtl(Form1 &display, const PlatformServices &services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint)
    , m_display(display)
    , m_services(services)
{
    setObjectName("frmCtl");
    setWindowTitle(QStringLiteral("集中操作盤"));
    setFixedSize(DesignSize);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    m_command4 = new QPushButton(QStringLiteral("設定..."), this);
    m_command4->setObjectName("Command4");
    m_command4->setGeometry(273, 143, 72, 24);
    connect(m_command4, &QPushButton::clicked, this, &frmCtl::Command4_Click);
}

void frmCtl::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmCtl::Form_Load()
{
    // The display window's caption names the model: the program file's name.
    m_display.setWindowTitle(QStringLiteral("Tavelo - 型番:")
                             + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

bool frmCtl::Form_QueryUnload()
{
    return QMessageBox::question(this, QStringLiteral("Taveloの終了確認"), QStringLiteral("Taveloを終了しますか？"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void frmCtl::closeEvent(QCloseEvent *event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    emit quitRequested();
}

void frmCtl::Command4_Click()
{
    frmOption *options = m_display.optionsDialog();
    if (!options) {
        return;
    }
    m_display.setEnabled(false);
    setEnabled(false);
    options->exec();
    m_display.setEnabled(true);
    setEnabled(true);
    showCurrentStopName();
}

void frmCtl::showCurrentStopName()
{
    // The strip is blanked first; a new colour takes effect with the next
    // name. Until a route is set there is no current stop, so it stays blank.
    m_display.ChimeiCtl()->SetChimei(QString());
}

void frmCtl::Option4_Click(int Index)
{
    frmOption *options = m_display.optionsDialog();
    if (!options) {
        return;
    }
    if (!options->usesUserPanel(Index)) {
        m_display.setPicture(m_display.imgRes(Index));
    } else if (const QString file = options->txtSelectPanel(Index)->text(); QFileInfo(file).isFile()) {
        // A missing file leaves the picture as it is, without a word.
        QImageReader reader(file);
        const QImage image = reader.read();
        if (image.isNull()) {
            const int errorNumber = reader.error() == QImageReader::FileNotFoundError ? 53
                : reader.error() == QImageReader::DeviceError                       ? 57
                                                                                    : 481;
            showPictureError(errorNumber);
        } else {
            // A larger picture is cut at the right and bottom; a smaller one
            // sits at the top left on grey.
            QPixmap panel(m_display.size());
            panel.fill(QColor(0xC0, 0xC0, 0xC0));
            QPainter(&panel).drawImage(0, 0, image);
            m_display.setPicture(panel);
        }
    }
    m_display.setLabelColor(options->Command5(Index)->color());
}

void frmCtl::showPictureError(int errorNumber)
{
    QString explanation;
    switch (errorNumber) {
    case 7:
    case 28:
    case 51:
        explanation = QStringLiteral("　内部的なエラーです。ミモザ交通へ報告してください。エラー場所：frmCtl.Option4_Click()");
        break;
    case 53:
    case 75:
    case 76:
        explanation = QStringLiteral("　画像ファイルが見つからないか、指定している場所が不正です。");
        break;
    case 57:
    case 68:
        explanation = QStringLiteral("　デバイスエラーもしくは準備が出来ていません。");
        break;
    case 481:
        explanation = QStringLiteral("　指定した画像の内容が不正です。この部分では扱えません。");
        break;
    default:
        break;
    }
    QMessageBox::critical(this, QStringLiteral("エラー"),
                          QStringLiteral("エラーです。\n\nエラーコード：%1%2").arg(errorNumber).arg(explanation));
}
