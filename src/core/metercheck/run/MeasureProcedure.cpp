// SPDX-License-Identifier: MIT
#include "core/metercheck/run/MeasureProcedure.h"

#include "core/base/MessageService.h"
#include "core/lab/CalibratorDue.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorProtocol.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/run/FieldText.h"
#include "core/metercheck/run/MeasurementDialogRunner.h"
#include "core/metercheck/run/PointErrors.h"
#include "core/metercheck/run/PointsGridView.h"
#include "core/metercheck/run/SelectSource.h"
#include "core/metercheck/run/UnitConversion.h"

MeasureProcedure::MeasureProcedure(MeterCheckSession& session, MeasurementDialogRunner& dialogs,
                                   PointsGridView& grid, CommandSender& sender,
                                   MessageService& messages)
    : session(session), dialogs(dialogs), grid(grid), sender(sender), messages(messages)
{}

void MeasureProcedure::OnMeasure()
{
    measuredRanges.clear();
    calibratorOverdue = false;
    // On a link given up earlier nothing would reach the calibrator; its message was shown
    // when it happened, perhaps long ago, so the run says it once more instead of starting.
    // The window's commands still on their way (its opening) decide it first.
    if (!sender.WaitUntilSent()) {
        messages.ShowError(NoLinkMessage());
        return;
    }
    if (!dialogs.ChooseProcedure(rangeScope, pointScope))
        return;
    const CalibratorGoAhead calibrator = AskAboutOverdueCalibrator(
        LabPolicy::FromSettings().calibrator, QDate::currentDate(), messages);
    if (calibrator == CalibratorGoAhead::Stop)
        return;
    calibratorOverdue = calibrator == CalibratorGoAhead::OverdueGoOn;
    if (rangeScope == RangeScope::Current) {
        MeasureRangeOfMethod(session.currentRange);
        return;
    }
    for (int i = 0; i < CountRanges(session.document); ++i) {
        session.currentRange = qint16(i);
        const Result result = MeasureRangeOfMethod(i);
        if (result == Result::LinkLost)
            return; // the link has told the technician; nothing more can be measured
        if (result == Result::AbortedAllRanges &&
            messages.AskQuestion(QStringLiteral("Czy przerwać pomiary na wszystkich zakresach?"),
                                 QStringLiteral("Przeranie pomiarów!"),
                                 MessageButtons::YesNo) == MessageAnswer::Yes)
            return;
        grid.FillPointsGrid(i);
    }
}

MeasureProcedure::Result MeasureProcedure::MeasureRangeExactSetting(int range, PointScope points)
{
    return MeasureRange(range, points, CheckMethod::ExactSetting);
}

MeasureProcedure::Result MeasureProcedure::MeasureRangeExactReading(int range, PointScope points)
{
    return MeasureRange(range, points, CheckMethod::ExactReading);
}

MeasureProcedure::Result MeasureProcedure::MeasureRangeOfMethod(int range)
{
    return session.document.method == CheckMethod::ExactReading
               ? MeasureRangeExactReading(range, pointScope)
               : MeasureRangeExactSetting(range, pointScope);
}

MeasureProcedure::Result MeasureProcedure::MeasureRange(int range, PointScope points,
                                                        CheckMethod method)
{
    Result result = Result::NoPointTaken;
    if (range < 0 || range >= maxRanges)
        return result;
    for (int j = 0; j < maxPoints; ++j) {
        if (result == Result::AbortedRange || result == Result::AbortedAllRanges ||
            result == Result::LinkLost)
            break;
        const MeterPoint& p = session.document.ranges[range].points[j];
        if (p.marked == 1 || (points == PointScope::All && p.pointDefined == 1))
            result = MeasurePoint(range, j, method, result);
    }
    return result;
}

MeasureProcedure::Result MeasureProcedure::MeasurePoint(int range, int point, CheckMethod method,
                                                        Result result)
{
    MeterRange& r = session.document.ranges[range];
    MeterPoint& p = r.points[point];
    // The nominal value: typed by the user when the point was added, in the range's unit.
    QString& nominal = p.Nominal(method);

    grid.SelectPointsRow(point + 1);

    const MeterPoint before = p;
    const qint16 functionBefore = r.calFunction;
    const bool measuredBefore = p.pointMeasured == 1;
    // The calibrator never got the set-point: the point stays as it was and the run ends.
    const auto giveUp = [&] {
        p = before;
        r.calFunction = functionBefore;
        grid.FillPointsGrid(range);
        grid.SelectPointsRow(point + 1);
        return Result::LinkLost;
    };
    if (measuredBefore) {
        // The function is chosen anew from the nominal value in the range's unit. The earlier
        // indication goes back too, so that an empty edit confirmed keeps it.
        const int decimals = DecimalsForFunction(r.calFunction);
        nominal = ConvertToRangeUnit(nominal, p.unit, r.rangeUnit, decimals);
        if (method == CheckMethod::ExactSetting)
            p.reading = ConvertToRangeUnit(p.reading, p.unit, r.rangeUnit, decimals);
        p.unit = r.rangeUnit; // what the point holds now, for the choice of the function
    }

    const int function = SelectSourceForPoint(session.document, range, point, sender, messages);
    if (!CalFunctions::IsValid(function)) {
        // No calibrator function can produce this value (already reported, nothing sent).
        p = before;
        return result;
    }
    r.calFunction = qint16(function);
    p.unit = CalFunctionTable[function].unitText;
    const int decimals = DecimalsForFunction(function);

    setpointText =
        FitFixed(ParseNumber(ConvertToPointUnit(nominal, r.rangeUnit, p.unit, decimals)), decimals);
    sender.Send(QStringLiteral("N") + setpointText);
    if (!SetpointTaken())
        return giveUp();

    measuredPoint = qint16(point);
    const MeasurementResult taken =
        method == CheckMethod::ExactSetting
            ? dialogs.RunExactSetting(range, measuredPoint, setpointText)
            : dialogs.RunExactReading(range, measuredPoint, setpointText);
    // The exact-reading dialog sends the operator's adjustments itself.
    if (taken.outcome == MeasurementOutcome::Ok && !SetpointTaken())
        return giveUp();

    switch (taken.outcome) {
    case MeasurementOutcome::Ok:
        // The indication typed (range unit) or the output reached (the function's unit).
        if (taken.value)
            p.Measured(method) = *taken.value;
        if (method == CheckMethod::ExactSetting)
            p.setting = ConvertToPointUnit(p.setting, r.rangeUnit, p.unit, decimals);
        p.reading = ConvertToPointUnit(p.reading, r.rangeUnit, p.unit, decimals);
        r.rangeMeasured = 1;
        p.pointMeasured = 1;
        p.reading = FitFixed(ParseNumber(p.reading), decimals);
        p.setting = FitFixed(ParseNumber(p.setting), decimals);
        p.calibratorError = CalibratorErrorText(p.setting, function, r.coldJunction);
        EvaluatePointErrors(session.document, range, point);
        if (!measuredRanges.contains(range))
            measuredRanges << range;
        session.SetModified(true);
        grid.FillPointsGrid(range);
        grid.SelectPointsRow(qMin(point + 2, maxPoints));
        return Result::Confirmed;

    case MeasurementOutcome::Abort:
        if (measuredBefore) {
            // The earlier measurement stays as it was, in its own unit.
            p = before;
        } else {
            p.Measured(method).clear();
            p.actualError.clear();
            p.permissibleError.clear();
            p.calibratorError.clear();
            p.unit.clear();
            p.reserved = 0;
            p.pointMeasured = 0;
        }
        grid.FillPointsGrid(range);
        grid.SelectPointsRow(point + 1);
        return rangeScope == RangeScope::Current ? Result::AbortedRange : Result::AbortedAllRanges;

    case MeasurementOutcome::Other:
        break;
    }
    p = before;
    return result;
}

bool MeasureProcedure::SetpointTaken()
{
    return sender.WaitUntilSent();
}
