#pragma once

#include <QTextStream>

// What the command-line tools share: their exit codes and their streams.
namespace ToolConsole {

enum ExitCode { Success = 0, FileRefused = 1, CannotRun = 2 };

// Standard output and standard error, as UTF-8 text.
QTextStream &out();
QTextStream &err();

} // namespace ToolConsole
