#pragma once

#include <QTextStream>

// What the command-line tools share: their exit codes and their streams.
namespace ToolConsole {

// NoProgram: a tool that talks to the running program found none listening.
enum ExitCode { Success = 0, FileRefused = 1, CannotRun = 2, NoProgram = 3 };

// Standard output and standard error, as UTF-8 text.
QTextStream &out();
QTextStream &err();

} // namespace ToolConsole
