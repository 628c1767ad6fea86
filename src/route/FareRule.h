#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QtGlobal>

#include <vector>

// How a route's fares follow from its stops. Distances are whole tenths of
// a kilometre, fares whole yen.
struct FareRule
{
    enum class Kind {
        Flat,     // 均一: one fare
        Distance, // 対キロ区間制: base fare and steps, or a band table
        Zone,     // 地帯制 / 区間制: by zones crossed, or origin x destination
        Manual,   // every cell typed in
    };

    struct Band
    {
        int upToTenths = 0; // the band holds trips up to this distance
        int fare = 0;

        bool operator==(const Band &) const = default;
    };

    Kind kind = Kind::Flat;

    // Flat.
    int flatFare = 0;

    // Distance: bands when there are any, otherwise base and steps.
    int baseFare = 0;
    int baseTenths = 0;
    int stepFare = 0;
    int stepTenths = 0; // every started step adds stepFare
    int unit = 10;      // the fare is rounded up to a multiple of this
    std::vector<Band> bands;

    // Zone: a pair table when it has entries, otherwise the fare by the
    // number of zone boundaries crossed (index 0: within one zone).
    std::vector<int> faresByZonesCrossed;
    QHash<QPair<QString, QString>, int> zonePairs; // (origin, destination) -> fare

    // The fare of a trip, or -1 when the rule has none for it (beyond the
    // last band, more zones than fares, a pair not in the table, manual).
    // Worked out in 64 bits, never wrapping: a rule can give a fare that no
    // cell of the fare data holds, and the route's check must see it as it
    // is (a sum beyond even 64 bits stays at the widest value).
    qint64 distanceFare(qint64 tenths) const;
    qint64 zoneFare(int zonesCrossed, const QString &origin, const QString &destination) const;

    bool operator==(const FareRule &) const = default;

    static QString kindName(Kind kind);
    static bool kindFromName(const QString &name, Kind &kind);
};
