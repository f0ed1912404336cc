// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"

enum class TripEvent
{
    None,
    Trip, // the condition has come true
    Reset // it has gone false again
};

// Follows the readings of the instrument under test against the trip condition. The first
// reading only tells the state it starts in; each change after it is an event. An over-range
// mark reads as above every threshold, an under-range mark as below.
class TripDetector
{
public:
    explicit TripDetector(const TripCondition& condition) : condition(condition) {}

    TripEvent Feed(double reading);
    bool Tripped() const { return known && tripped; }

private:
    TripCondition condition;
    bool known = false;
    bool tripped = false;
};
