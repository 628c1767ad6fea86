#include "ErrorReport.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace ErrorReport {

QString messageText(int code, const QString &description, const QString &moduleLine)
{
    return QStringLiteral("エラーです！\n\nコード：%1\n\n内容：%2\n\n%3").arg(code).arg(description, moduleLine);
}

QString panelPictureText(int errorNumber)
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
    return QStringLiteral("エラーです。\n\nエラーコード：%1%2").arg(errorNumber).arg(explanation);
}

QString codeText(int number, const QString &description, const QString &moduleLine)
{
    QString text = QStringLiteral("エラー Code:%1\r\n内容:%2").arg(QString::number(number), description);
    if (!moduleLine.isEmpty()) {
        text += QStringLiteral("\r\n") + moduleLine;
    }
    return text;
}

void showPlain(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void log(const QString &what, const QString &text)
{
    QString oneLine = text;
    oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    qWarning("%s: %s", qUtf8Printable(what), qUtf8Printable(oneLine));
}

QString pluginLoadTitle()
{
    return QStringLiteral("プラグインロードエラー");
}

QString pluginLoadText()
{
    return QStringLiteral("指定したファイルはプラグインでないか、内容が不正です");
}

void show(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

} // namespace ErrorReport
