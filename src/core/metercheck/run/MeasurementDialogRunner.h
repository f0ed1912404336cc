// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckMode.h"

#include <QString>

#include <optional>

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

// What the operator did in a measurement dialog. The dialog writes nothing: the procedure
// stores the value in the point and computes its errors.
struct MeasurementResult
{
    MeasurementOutcome outcome = MeasurementOutcome::Other;
    // On OK, the point's new measured value: the indication typed in the exact-setting dialog
    // (range unit; empty when a refused entry emptied it), the final output of the
    // exact-reading dialog (the calibrator function's unit). None when the measured value
    // keeps what it held (OK on an empty edit that was never refused).
    std::optional<QString> value;
};

// The dialogs of a measurement run. The program shows the real dialogs; tests script them.
class MeasurementDialogRunner
{
public:
    virtual ~MeasurementDialogRunner() = default;

    // The procedure-choice dialog. On OK it sets both choices and returns true; on "Anuluj" it
    // returns false and changes nothing.
    virtual bool ChooseProcedure(RangeScope& rangeScope, PointScope& pointScope) = 0;

    // The exact-setting dialog for a point, the calibrator set to `setpointText`; hands back
    // the indication typed.
    virtual MeasurementResult RunExactSetting(int range, int point,
                                              const QString& setpointText) = 0;

    // The exact-reading dialog for a point; it starts the calibrator at `setpointText`, sends
    // every change of the output and hands back the output reached.
    virtual MeasurementResult RunExactReading(int range, int point,
                                              const QString& setpointText) = 0;
};
