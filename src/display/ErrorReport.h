#pragma once

#include <QString>

class QWidget;

// The error message boxes of the system: one place that words them.
namespace ErrorReport {

// "エラーです！", the code, the description and the module line, each
// separated by an empty line.
QString messageText(int code, const QString &description, const QString &moduleLine);

// A critical-icon OK box titled "エラー！".
void show(QWidget *parent, const QString &text);

} // namespace ErrorReport
