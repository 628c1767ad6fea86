#pragma once

#include <QStringList>

// `R57 --render=OUT ...`: makes a video of a run without a window on screen,
// as fast as the machine can, and ends. Its own command line, help and exit
// status: 0 when the file is complete, 1 with the reason when it is not, 2
// for a command line it cannot take.
namespace RenderCommand {

// Whether the command line asks for a render.
bool requested(const QStringList &arguments);

int main(int argc, char *argv[]);

} // namespace RenderCommand
