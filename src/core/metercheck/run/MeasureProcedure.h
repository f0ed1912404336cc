// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CommandSender.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/run/MeasurementDialogRunner.h"

#include <QList>
#include <QString>

class MessageService;
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
    // How a pass over one range ended.
    enum class Result
    {
        NoPointTaken,
        Confirmed,        // the last point taken was confirmed
        AbortedRange,     // "Przerwij" while only the current range was measured
        AbortedAllRanges, // "Przerwij" during a run over all ranges
        LinkLost,         // the link was given up: the calibrator did not take the set-point
    };

    MeasureProcedure(MeterCheckSession& session, MeasurementDialogRunner& dialogs,
                     PointsGridView& grid, CommandSender& sender, MessageService& messages);

    // The "Pomiary" command: asks for the scope and runs the procedure of the document's method
    // on the current range or on every range. With the lab's calibrator past its due date it
    // asks once, after the scope, whether to go on; "Nie" measures nothing.
    void OnMeasure();

    // One pass over the taken points of a range (the marked ones, or with PointScope::All every
    // defined one).
    Result MeasureRangeExactSetting(int range, PointScope points);
    Result MeasureRangeExactReading(int range, PointScope points);

    // The ranges in which the last OnMeasure confirmed at least one point, in run order.
    const QList<int>& MeasuredRanges() const { return measuredRanges; }
    // Whether the last OnMeasure went on with the calibrator past its due date.
    bool CalibratorOverdue() const { return calibratorOverdue; }

    // The state of the run, as the procedure choice and the points leave it.
    RangeScope rangeScope = RangeScope::Current;
    PointScope pointScope = PointScope::Marked;
    QString setpointText;     // the value last sent with "N", in the calibrator's unit
    qint16 measuredPoint = 0; // the point whose dialog is (or was last) open

private:
    Result MeasureRange(int range, PointScope points, CheckMethod method);
    Result MeasureRangeOfMethod(int range);
    // Takes one point; returns the new result, or `result` when nothing was decided.
    Result MeasurePoint(int range, int point, CheckMethod method, Result result);
    // Whether the calibrator took the set-point sent last: waits (the windows repainted, the
    // user's input held back) until the link has carried out what was sent; a given-up link
    // is all there is to ask then.
    bool SetpointTaken();

    MeterCheckSession& session;
    MeasurementDialogRunner& dialogs;
    PointsGridView& grid;
    CommandSender& sender;
    MessageService& messages;
    QList<int> measuredRanges;
    bool calibratorOverdue = false;
};
