#pragma once

#include <QString>

#include <vector>

// A trip's times on the stops of the board, as a run follows them: the
// departure from each stop of the run but the last, and the arrival at the
// last. Seconds from the midnight starting the service day.
struct TripSchedule
{
    QString tripId;
    QString headsign;
    // The stop (1-based on the board) where the run starts, and the last.
    int firstStop = 1;
    int lastStop = 1;
    // departures[i]: leaving stop firstStop + i, for the stops before the last.
    std::vector<int> departures;
    int arrival = 0;

    int departureFrom(int stop) const { return departures.at(static_cast<size_t>(stop - firstStop)); }
};
