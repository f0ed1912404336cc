// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/ColdJunction.h"

#include <QList>
#include <QString>

// A source program: the calibrator's source half driven through a planned course of
// segments while its measure half, when a range is chosen, reads what the instrument under
// test does. Values are numbers in the unit of the source function (set-points) or of the
// measure range (readings and the trip threshold).

enum class SegmentKind
{
    Hold,      // one value for a time
    Ramp,      // from A to B in steps, each held for the dwell
    Staircase, // from A up (or down) to B and back to A in steps, each held for the dwell
    Repeat     // the group of segments before it run again
};

struct ProgramSegment
{
    SegmentKind kind = SegmentKind::Hold;
    double from = 0;         // Hold: the value; Ramp, Staircase: where the course starts
    double to = 0;           // Ramp: where it ends; Staircase: where it turns back
    double step = 1;         // Ramp, Staircase: the size of a step, positive
    double dwellSeconds = 2; // Hold: how long; Ramp, Staircase: how long each step is held
    // Repeat: the group is the segments from this one (from 0) to the one before the repeat,
    // and it runs `times` times in all.
    int firstSegment = 0;
    int times = 2;
};

// The source function as the control panel selects it: a row of CalFunctionTable (0-19), the
// reference junction of a thermocouple (To in °C with ColdJunction::To) and the lead
// resistance of a resistance thermometer (sent only when on).
struct ProgramSource
{
    int calFunction = 4; // 22 mA
    ColdJunction coldJunction = ColdJunction::Tin;
    double referenceTemperature = 0;
    bool leadResistanceOn = false;
    double leadResistance = 0;
};

enum class TripDirection
{
    RisesAbove,
    FallsBelow
};

// When the instrument under test has tripped: its reading above (or below) the threshold.
struct TripCondition
{
    bool enabled = false;
    TripDirection direction = TripDirection::RisesAbove;
    double threshold = 0;
};

struct ProgramDoc
{
    QString name;
    QString notes;
    ProgramSource source;
    QString measureRange; // a row of MeasureRangeTable by name; empty: nothing is measured
    TripCondition trip;
    QList<ProgramSegment> segments;

    bool Measures() const { return !measureRange.isEmpty(); }
};

namespace ProgramLimits {
constexpr int maxSegments = 100;
// A planned course longer than this is a mistyped step, not a test.
constexpr int maxSteps = 20000;
constexpr double maxDwellSeconds = 24 * 3600;
constexpr int maxTimes = 1000;
constexpr double maxReferenceTemperature = 60; // °C, as the control panel allows
constexpr double maxLeadResistance = 50;       // Ohm, as the control panel allows
} // namespace ProgramLimits
