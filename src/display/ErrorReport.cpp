#include "ErrorReport.h"

#include <QMessageBox>

namespace ErrorReport {

QString messageText(int code, const QString &description, const QString &moduleLine)
{
    return QStringLiteral("エラーです！\n\nコード：%1\n\n内容：%2\n\n%3").arg(code).arg(description, moduleLine);
}

void show(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, QStringLiteral("エラー！"), text, QMessageBox::Ok);
}

} // namespace ErrorReport
