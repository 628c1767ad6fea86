#pragma once

#include "run/GeoPoint.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// A recorded drive: a GPX track (its trkpt elements with their times) or a
// log of NMEA sentences as a receiver writes them ($..RMC and $..GGA, their
// checksums checked). Points that cannot be read (a bad checksum, a position
// off the globe, a time going backwards) are left out and counted.
struct TrackFile
{
    struct Point
    {
        // Milliseconds from the track's first point.
        qint64 timeMs = 0;
        GeoPoint place;
        // False where the receiver said it had no position.
        bool valid = false;

        bool operator==(const Point &) const = default;
    };

    // Many hours of one fix a second are far less.
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

    std::vector<Point> points;
    // Sentences or points left out, and for a GPX file that broke off, where.
    int skipped = 0;
    QString brokenOff;

    static TrackFile fromGpx(QByteArrayView xml);
    // The track as a GPX file of one track named `name`, its first point at
    // `start`.
    QByteArray toGpx(const QString &name, const QDateTime &start) const;
    static TrackFile fromNmea(QByteArrayView log);
    // The track in `bytes`: GPX when it begins as XML, an NMEA log otherwise.
    static TrackFile fromBytes(QByteArrayView bytes);

    // The track in the plain file at `path`, read up to MaxFileBytes; what
    // was left out is logged in one line. Nothing, with the reason naming
    // the file in `error`, when it has no timed position at all.
    static std::optional<TrackFile> readFile(const QString &path, QString &error);
};
