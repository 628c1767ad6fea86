#include "FareRule.h"

#include <QtNumeric>

#include <limits>

namespace {

constexpr qint64 Widest = std::numeric_limits<qint64>::max();

qint64 roundUp(qint64 fare, qint64 unit)
{
    if (unit <= 1) {
        return fare;
    }
    qint64 raised = 0;
    if (qAddOverflow(fare, unit - 1, &raised)) {
        return Widest;
    }
    return raised / unit * unit;
}

} // namespace

qint64 FareRule::distanceFare(qint64 tenths) const
{
    if (!bands.empty()) {
        for (const Band &band : bands) {
            if (tenths <= band.upToTenths) {
                return band.fare;
            }
        }
        return -1;
    }
    qint64 fare = baseFare;
    if (tenths > baseTenths && stepTenths > 0) {
        const qint64 steps = (tenths - baseTenths + stepTenths - 1) / stepTenths;
        qint64 added = 0;
        if (qMulOverflow(steps, qint64(stepFare), &added) || qAddOverflow(fare, added, &fare)) {
            return Widest;
        }
    }
    return roundUp(fare, unit);
}

qint64 FareRule::zoneFare(int zonesCrossed, const QString &origin, const QString &destination) const
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
