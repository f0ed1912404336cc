// SPDX-License-Identifier: MIT
#include "metercheck/window/RangesPageLogic.h"

#include "link/NumberText.h"
#include "metercheck/dialogs/RangeDescription.h"
#include "metercheck/document/DocumentSlots.h"
#include "metercheck/document/MeterCheckDoc.h"
#include "metercheck/window/MeterCheckDialogRunner.h"

#include <QtMath>

bool markAllState = false;

namespace {

bool RangeIsDefined(int range)
{
    return range >= 0 && range < maxRanges && meterCheckDoc.ranges[range].rangeDefined == 1;
}

} // namespace

RangesPageButtons RangesPageLogic::ButtonStates()
{
    RangesPageButtons b;
    const int n = CountRanges();
    b.addRange = n < maxRanges && currentRange <= n;
    b.deleteRange = currentRange < n;
    b.editRange = b.deleteRange;
    if (RangeIsDefined(currentRange)) {
        const int m = CountPoints(currentRange);
        b.addPoint = m < maxPoints && currentPoint <= m;
        b.deletePoint = currentPoint < m;
        b.editPoint = b.deletePoint;
        b.markAll = b.deletePoint;
    }
    return b;
}

QStringList RangesPageLogic::RangeRowTexts(const MeterRange& range)
{
    QString classRange = range.classRange;
    if (!range.constTerm.isEmpty()) {
        const QString unit =
            range.function == 3 || range.function == 4 ? QStringLiteral("°C") : range.constUnit;
        classRange += QLatin1Char('+') + range.constTerm + unit;
    }
    return {range.rangeValue + QLatin1Char(' ') + range.rangeUnit, SensorWithSuffix(range),
            range.classReading, classRange};
}

QStringList RangesPageLogic::PointRowTexts(const MeterPoint& point)
{
    return {point.reading,
            point.setting,
            point.actualError,
            point.permissibleError,
            point.calibratorError,
            point.unit,
            point.marked == 1 ? QStringLiteral("+") : QString()};
}

bool RangesPageLogic::ActualErrorExceeds(const MeterPoint& point)
{
    return qAbs(ParseNumber(point.actualError)) > ParseNumber(point.permissibleError);
}

bool RangesPageLogic::AddRange(int row)
{
    meterCheckState = 1;
    currentRange = qint16(row - 1);
    // Cancelling must leave every slot as it was, the calFunction presets of free slots
    // included, so the slots are kept aside rather than moved back.
    const auto before = meterCheckDoc.ranges;
    if (!InsertRangeSlot(currentRange))
        return false; // the editor would overwrite a defined range
    if (!dialogs.RunRangeDialog()) {
        meterCheckDoc.ranges = before;
        return false;
    }
    documentModified = true;
    return true;
}

bool RangesPageLogic::DeleteRange(int row)
{
    currentRange = qint16(row - 1);
    if (!RemoveRangeSlot(currentRange))
        return false;
    documentModified = true;
    return true;
}

bool RangesPageLogic::EditRange(int row)
{
    meterCheckState = 2;
    currentRange = qint16(row - 1);
    if (!RangeIsDefined(currentRange) || !dialogs.RunRangeDialog())
        return false;
    documentModified = true;
    return true;
}

bool RangesPageLogic::AddPoint(int row)
{
    meterCheckState = 6;
    currentPoint = qint16(row - 1);
    if (!RangeIsDefined(currentRange))
        return false;
    const auto before = meterCheckDoc.ranges[currentRange].points;
    if (!InsertPointSlot(currentRange, currentPoint))
        return false;
    if (!dialogs.RunPointDialog()) {
        meterCheckDoc.ranges[currentRange].points = before;
        return false;
    }
    documentModified = true;
    currentPoint += 1;
    return true;
}

bool RangesPageLogic::DeletePoint(int row)
{
    currentPoint = qint16(row - 1);
    if (!RangeIsDefined(currentRange) || !RemovePointSlot(currentRange, currentPoint))
        return false;
    documentModified = true;
    return true;
}

bool RangesPageLogic::EditPoint()
{
    meterCheckState = 7;
    if (!RangeIsDefined(currentRange) || currentPoint < 0 ||
        currentPoint >= CountPoints(currentRange) || !dialogs.RunPointDialog())
        return false;
    documentModified = true;
    return true;
}

bool RangesPageLogic::ToggleMarked(int row)
{
    const int slot = row - 1;
    if (!RangeIsDefined(currentRange) || slot < 0 || slot >= maxPoints)
        return false;
    MeterPoint& point = meterCheckDoc.ranges[currentRange].points[slot];
    if (point.pointDefined != 1)
        return false;
    point.marked = point.marked == 1 ? 0 : 1;
    documentModified = true;
    return true;
}

void RangesPageLogic::MarkAll()
{
    documentModified = true;
    markAllState = !markAllState;
    if (currentRange < 0 || currentRange >= maxRanges)
        return;
    for (MeterPoint& point : meterCheckDoc.ranges[currentRange].points)
        if (point.pointDefined == 1)
            point.marked = markAllState ? 1 : 0;
}
