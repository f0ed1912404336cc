// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CommandSender.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <QList>
#include <QString>

class MeasurementDialogRunner;
class PointsGridView;
struct MeterCheckSession;
struct MeterPoint;

// The measurement run of the meter check: the procedure choice, then point by point the
// calibrator set through the "C" and "N" commands, the operator's confirmation in the
// method's dialog, and the errors of every confirmed point. The run alone writes a point's
// measured values: the dialogs only hand back what the operator did.
class MeasureProcedure
{
public:
    // Result codes of a pass over one range.
    enum Result
    {
        AbortedAllRanges = 0, // "Przerwij" during a run over all ranges
        NoPointTaken = -1,
        Confirmed = 1,    // the last point taken was confirmed
        AbortedRange = 2, // "Przerwij" while only the current range was measured
        LinkLost = 3,     // the link was given up: the calibrator did not take the set-point
    };

    MeasureProcedure(MeterCheckSession& session, MeasurementDialogRunner& dialogs,
                     PointsGridView& grid, CommandSender& sender);

    // The "Pomiary" command: asks for the scope and runs the procedure of the document's method
    // on the current range or on every range.
    void OnMeasure();

    // One pass over the taken points of a range (the marked ones, or with pointScope 1 every
    // defined one).
    int MeasureRangeExactSetting(int range, int pointScope);
    int MeasureRangeExactReading(int range, int pointScope);

    // The ranges in which the last OnMeasure confirmed at least one point, in run order.
    const QList<int>& MeasuredRanges() const { return measuredRanges; }

    // The state of the run, as the procedure choice and the points leave it.
    qint16 rangeScope = 0;    // 0 the current range only, 1 all ranges
    qint16 pointScope = 0;    // 0 the marked points only, 1 all points
    QString setpointText;     // the value last sent with "N", in the calibrator's unit
    qint16 measuredPoint = 0; // the point whose dialog is (or was last) open

private:
    int MeasureRange(int range, int pointScope, CheckMethod method);
    int MeasureRangeOfMethod(int range);
    // Takes one point; returns the new result code, or `result` when nothing was decided.
    int MeasurePoint(int range, int point, CheckMethod method, int result);
    // Whether the calibrator took the set-point sent last: waits (the windows repainted, the
    // user's input held back) until the link has carried out what was sent; a given-up link
    // is all there is to ask then.
    bool SetpointTaken();

    MeterCheckSession& session;
    MeasurementDialogRunner& dialogs;
    PointsGridView& grid;
    CommandSender& sender;
    QList<int> measuredRanges;
};
