#include "frmCtl.h"

#include "display/Form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

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
