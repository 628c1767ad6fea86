#include "ReaderChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return ReaderChecks::abortOnProblem(ReaderChecks::routeSource, data, size);
}
