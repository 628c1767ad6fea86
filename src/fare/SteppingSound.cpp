#include "SteppingSound.h"

#include "FareRoute.h"

namespace SteppingSound {

QString fileFor(const FareRoute &route, int stop, const SteppingSoundOptions &options)
{
    if (options.alwaysSameSound) {
        return options.alwaysFile;
    }
    if (stop < 1 || stop > route.state().RecordCount) {
        return {};
    }
    const int selector = route.table().slot(stop).column(options.selectorColumn);
    if (selector < 1 || selector > static_cast<int>(options.selectorFiles.size())) {
        return {};
    }
    return options.selectorFiles[static_cast<size_t>(selector - 1)];
}

} // namespace SteppingSound
