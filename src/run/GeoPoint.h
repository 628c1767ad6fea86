#pragma once

// A place on the earth in WGS 84 degrees.
struct GeoPoint
{
    double lat = 0;
    double lon = 0;

    bool operator==(const GeoPoint &) const = default;

    // Whether both are finite and within the globe (|lat| <= 90, |lon| <= 180).
    bool isValid() const;

    // The great-circle distance in metres (haversine on a sphere of the
    // earth's mean radius): within a few metres over a town's length, which
    // is all a stop's circle needs.
    static double distanceMetres(const GeoPoint &a, const GeoPoint &b);
};
