#include "ErrorReport.h"

#include "formats/Cp932.h"

#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>

namespace ErrorReport {

namespace {
Capture *innermostCapture = nullptr;
} // namespace

Capture::Capture()
    : m_outer(innermostCapture)
{
    innermostCapture = this;
}

Capture::~Capture()
{
    innermostCapture = m_outer;
}

bool Capture::take(const QString &text)
{
    if (!innermostCapture) {
        return false;
    }
    innermostCapture->m_messages.append(text);
    return true;
}

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

QString keptFileNote(const QString &backupPath)
{
    return QStringLiteral("この設定ファイルは、終了時に上書きされる前に %1 として残します。")
        .arg(QDir::toNativeSeparators(backupPath));
}

QString unwritablePathText(char32_t character)
{
    return QStringLiteral("このパスは使えません。文字「%1」(%2) は Shift_JIS (CP932) で表せないため、"
                          "設定ファイルに保存できません。\nこの文字を含まないフォルダー名・ファイル名を選んでください。")
        .arg(QString::fromUcs4(&character, 1), Cp932::codePointName(character));
}

void showPlain(QWidget *parent, const QString &text, const QString &informativeText)
{
    // The informative text names what failed (the file): the caller needs it too.
    if (Capture::take(informativeText.isEmpty() ? text : text + QLatin1Char('\n') + informativeText)) {
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.setInformativeText(informativeText);
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
    if (Capture::take(text)) {
        return;
    }
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

} // namespace ErrorReport
