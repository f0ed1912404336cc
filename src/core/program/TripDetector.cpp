// SPDX-License-Identifier: MIT
#include "core/program/TripDetector.h"

TripEvent TripDetector::Feed(double reading)
{
    if (!condition.enabled)
        return TripEvent::None;
    const bool now = condition.direction == TripDirection::RisesAbove
                         ? reading > condition.threshold
                         : reading < condition.threshold;
    const bool changed = known && now != tripped;
    known = true;
    tripped = now;
    if (!changed)
        return TripEvent::None;
    return now ? TripEvent::Trip : TripEvent::Reset;
}
