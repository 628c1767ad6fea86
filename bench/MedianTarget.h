#pragma once

// The verdict of a timed benchmark. On a shared, busy machine a single sample
// can be slow for reasons of its own, so a target is judged on the median of
// the samples; the worst is printed beside it for a look.

#include <algorithm>
#include <cstdio>
#include <vector>

// Prints "what: median M ms, worst W ms (target <= T ms): met|MISSED" and
// tells whether the median met the target.
inline bool medianMeets(const char *what, std::vector<double> samplesMs, double targetMs)
{
    if (samplesMs.empty()) {
        std::printf("%s: no samples (target <= %g ms): MISSED\n", what, targetMs);
        return false;
    }
    std::sort(samplesMs.begin(), samplesMs.end());
    const double median = samplesMs[samplesMs.size() / 2];
    const bool met = median <= targetMs;
    std::printf("%s: median %.3f ms, worst %.3f ms (target <= %g ms): %s\n", what, median, samplesMs.back(),
                targetMs, met ? "met" : "MISSED");
    return met;
}
