#include "ToolConsole.h"

#include <cstdio>

namespace ToolConsole {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

} // namespace ToolConsole
