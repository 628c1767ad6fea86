#include "GeoPoint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

bool GeoPoint::isValid() const
{
    return std::isfinite(lat) && std::isfinite(lon) && std::abs(lat) <= 90 && std::abs(lon) <= 180;
}

double GeoPoint::distanceMetres(const GeoPoint &a, const GeoPoint &b)
{
    constexpr double earthRadius = 6371008.8;
    constexpr double toRadians = std::numbers::pi / 180;
    const double dLat = (b.lat - a.lat) * toRadians;
    const double dLon = (b.lon - a.lon) * toRadians;
    const double s = std::sin(dLat / 2);
    const double t = std::sin(dLon / 2);
    const double h = s * s + std::cos(a.lat * toRadians) * std::cos(b.lat * toRadians) * t * t;
    // Rounding can take h a hair past 1 for points on opposite sides.
    return 2 * earthRadius * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}
