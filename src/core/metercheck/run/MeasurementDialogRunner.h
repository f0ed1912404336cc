// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckMode.h"

#include <QString>

// How a measurement dialog ended: OK, "Przerwij", or anything else (which changes nothing).
enum class MeasurementOutcome
{
    Ok,
    Abort,
    Other
};

// Which points of a range a measurement run takes: the marked ones or every defined one.
enum class PointScope
{
    Marked,
    All
};

// The dialogs of a measurement run. The program shows the real dialogs; tests script them.
class MeasurementDialogRunner
{
public:
    virtual ~MeasurementDialogRunner() = default;

    // The procedure-choice dialog. On OK it sets both choices and returns true; on "Anuluj" it
    // returns false and changes nothing.
    virtual bool ChooseProcedure(RangeScope& rangeScope, PointScope& pointScope) = 0;

    // The exact-setting dialog for a point, the calibrator set to `setpointText`. On OK it has
    // stored the typed indication in the point's reading, in the range's unit (an empty edit
    // leaves the reading as it was).
    virtual MeasurementOutcome RunExactSetting(int range, int point,
                                               const QString& setpointText) = 0;

    // The exact-reading dialog for a point; it starts the calibrator at `setpointText` and
    // sends every change of the output. On OK it has stored the final output in the point's
    // setting, in the calibrator function's unit.
    virtual MeasurementOutcome RunExactReading(int range, int point,
                                               const QString& setpointText) = 0;
};
