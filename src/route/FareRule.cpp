#include "FareRule.h"

namespace {

int roundUp(int fare, int unit)
{
    if (unit <= 1) {
        return fare;
    }
    return (fare + unit - 1) / unit * unit;
}

} // namespace

int FareRule::distanceFare(int tenths) const
{
    if (!bands.empty()) {
        for (const Band &band : bands) {
            if (tenths <= band.upToTenths) {
                return band.fare;
            }
        }
        return -1;
    }
    int fare = baseFare;
    if (tenths > baseTenths && stepTenths > 0) {
        const int steps = (tenths - baseTenths + stepTenths - 1) / stepTenths;
        fare += steps * stepFare;
    }
    return roundUp(fare, unit);
}

int FareRule::zoneFare(int zonesCrossed, const QString &origin, const QString &destination) const
{
    if (!zonePairs.isEmpty()) {
        return zonePairs.value({origin, destination}, -1);
    }
    if (zonesCrossed < 0 || zonesCrossed >= static_cast<int>(faresByZonesCrossed.size())) {
        return -1;
    }
    return faresByZonesCrossed[static_cast<size_t>(zonesCrossed)];
}

QString FareRule::kindName(Kind kind)
{
    switch (kind) {
    case Kind::Flat:
        return QStringLiteral("flat");
    case Kind::Distance:
        return QStringLiteral("distance");
    case Kind::Zone:
        return QStringLiteral("zone");
    case Kind::Manual:
        return QStringLiteral("manual");
    }
    return {};
}

bool FareRule::kindFromName(const QString &name, Kind &kind)
{
    for (const Kind k : {Kind::Flat, Kind::Distance, Kind::Zone, Kind::Manual}) {
        if (kindName(k) == name) {
            kind = k;
            return true;
        }
    }
    return false;
}
