#include "RouteDrive.h"

#include <algorithm>
#include <cmath>

namespace {

struct Halt
{
    GeoPoint place;
    int arrival = 0;
    int departure = 0;
};

} // namespace

std::optional<TrackFile> RouteDrive::make(const RouteSource &source, const RouteTrip *trip, int &firstSecond,
                                          QString &error)
{
    std::vector<Halt> halts;
    for (size_t i = 0; i < source.stops.size(); ++i) {
        const RouteStop &stop = source.stops[i];
        if (!stop.lat || !stop.lon || !GeoPoint{*stop.lat, *stop.lon}.isValid())
            continue;
        const GeoPoint place{*stop.lat, *stop.lon};
        std::optional<int> arrival;
        std::optional<int> departure;
        if (trip && i < trip->times.size()) {
            arrival = trip->times[i].arrival ? trip->times[i].arrival : trip->times[i].departure;
            departure = trip->times[i].departure ? trip->times[i].departure : trip->times[i].arrival;
        }
        Halt halt{place, 0, 0};
        if (halts.empty()) {
            halt.arrival = arrival.value_or(0);
            halt.departure = departure ? std::max(*departure, halt.arrival) : halt.arrival + HaltSeconds;
        } else {
            const Halt &before = halts.back();
            // At least a second on the way, so that the track's times grow.
            const int drive = std::max(1, int(std::ceil(GeoPoint::distanceMetres(before.place, place)
                                                        / PaceMetresPerSecond)));
            halt.arrival = arrival ? std::max(*arrival, before.departure + 1) : before.departure + drive;
            halt.departure = departure ? std::max(*departure, halt.arrival) : halt.arrival + HaltSeconds;
        }
        const int start = halts.empty() ? halt.arrival : halts.front().arrival;
        if (halt.departure - start > MaxSeconds) {
            error = QStringLiteral("%1 時間を超える運行は作りません").arg(MaxSeconds / 3600);
            return std::nullopt;
        }
        halts.push_back(halt);
    }
    if (halts.size() < 2) {
        error = QStringLiteral("位置のある停留所が 2 つ以上必要です");
        return std::nullopt;
    }
    // The last stop is where the drive ends: no standing there.
    halts.back().departure = halts.back().arrival;

    TrackFile track;
    firstSecond = halts.front().arrival;
    const auto add = [&](int second, GeoPoint place) {
        track.points.push_back({qint64(second - firstSecond) * 1000, place, true});
    };
    for (size_t i = 0; i < halts.size(); ++i) {
        const Halt &halt = halts[i];
        for (int second = halt.arrival; second <= halt.departure; ++second)
            add(second, halt.place);
        if (i + 1 == halts.size())
            break;
        const Halt &next = halts[i + 1];
        const double span = next.arrival - halt.departure;
        for (int second = halt.departure + 1; second < next.arrival; ++second) {
            const double part = (second - halt.departure) / span;
            add(second, {halt.place.lat + (next.place.lat - halt.place.lat) * part,
                         halt.place.lon + (next.place.lon - halt.place.lon) * part});
        }
    }
    return track;
}
