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

// Who learns of a failure: the operator, in a message box, or, when nobody
// is there to answer one (the session ends), only the log.
enum class Audience { Operator, LogOnly };

// An OK box with the program's own title and no icon.
void showPlain(QWidget *parent, const QString &text);

// One warning line in the log: what failed, then the text a box would show.
void log(const QString &what, const QString &text);

// The ticket plug-in error: its title and its text.
QString pluginLoadTitle();
QString pluginLoadText();

// A critical-icon OK box.
void show(QWidget *parent, const QString &text, const QString &title = QStringLiteral("エラー！"));

} // namespace ErrorReport
