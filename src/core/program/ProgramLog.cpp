// SPDX-License-Identifier: MIT
#include "core/program/ProgramLog.h"

#include <algorithm>
#include <cmath>

std::optional<double> TripPoint::Deadband() const
{
    if (!reset)
        return std::nullopt;
    return std::fabs(trip - *reset);
}

namespace TripPoints {

QList<TripPoint> FromLog(const QList<ProgramLogEntry>& entries)
{
    QList<TripPoint> points;
    for (const ProgramLogEntry& e : entries) {
        if (e.event == TripEvent::Trip) {
            points << TripPoint{e.source, e.ms, e.pass, std::nullopt, 0};
        } else if (e.event == TripEvent::Reset && !points.isEmpty() && !points.last().reset) {
            points.last().reset = e.source;
            points.last().resetMs = e.ms;
        }
    }
    return points;
}

TripSpread Spread(const QList<TripPoint>& points)
{
    TripSpread s;
    for (const TripPoint& p : points) {
        s.tripLow = s.trips == 0 ? p.trip : std::min(s.tripLow, p.trip);
        s.tripHigh = s.trips == 0 ? p.trip : std::max(s.tripHigh, p.trip);
        ++s.trips;
        if (p.reset) {
            s.resetLow = s.resets == 0 ? *p.reset : std::min(s.resetLow, *p.reset);
            s.resetHigh = s.resets == 0 ? *p.reset : std::max(s.resetHigh, *p.reset);
            ++s.resets;
        }
    }
    return s;
}

} // namespace TripPoints

QString ProgramEndName(ProgramEnd end)
{
    switch (end) {
    case ProgramEnd::Completed:
        return QStringLiteral("zakończony");
    case ProgramEnd::Stopped:
        return QStringLiteral("przerwany przez operatora");
    case ProgramEnd::LinkLost:
        return QStringLiteral("przerwany: brak komunikacji z kalibratorem");
    }
    return {};
}
