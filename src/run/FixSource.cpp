#include "FixSource.h"

#include <chrono>

FixSource::Clock FixSource::steadyClock()
{
    return [] {
        using namespace std::chrono;
        return qint64(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    };
}
