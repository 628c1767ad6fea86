#pragma once

#include <QString>

class QWidget;

// The error message boxes of the system: one place that words them.
namespace ErrorReport {

// "エラーです！", the code, the description and the module line, each
// separated by an empty line.
QString messageText(int code, const QString &description, const QString &moduleLine);

// "エラーです。", the error code and what it means for a panel picture that
// could not be loaded.
QString panelPictureText(int errorNumber);

// "エラー Code:" and the number, "内容:" and the description, and the module
// line when there is one, each on its own line (CR LF).
QString codeText(int number, const QString &description, const QString &moduleLine = QString());

// An OK box with the program's own title and no icon; `informativeText`,
// when given, below the text.
void showPlain(QWidget *parent, const QString &text, const QString &informativeText = QString());

// The ticket plug-in error: its title and its text.
QString pluginLoadTitle();
QString pluginLoadText();

// A critical-icon OK box.
void show(QWidget *parent, const QString &text, const QString &title = QStringLiteral("エラー！"));

} // namespace ErrorReport
