// SPDX-License-Identifier: MIT
#include "core/metercheck/document/DocumentSlots.h"

#include "core/metercheck/document/MeterCheckDoc.h"

#include <algorithm>

void ClearPoint(MeterPoint& point)
{
    point.reading.clear();
    point.setting.clear();
    point.actualError.clear();
    point.permissibleError.clear();
    point.calibratorError.clear();
    point.unit.clear();
    point.marked = 0;
    point.pointDefined = 0;
    point.reserved = 0;
    point.pointMeasured = 0;
}

void ClearRange(MeterRange& range)
{
    range.rangeValue.clear();
    range.sensorName.clear();
    range.rangeUnit.clear();
    range.function = RangeFunction::Voltage;
    range.coldJunction = ColdJunction::Tex;
    range.toValue.clear();
    range.rlValue.clear();
    range.classReading.clear();
    range.classRange.clear();
    range.constTerm.clear();
    range.constUnit.clear();
    range.rangeDefined = 0;
    for (MeterPoint& point : range.points)
        ClearPoint(point);
    range.rangeMeasured = 0;
}

bool InsertRangeSlot(MeterCheckDoc& doc, int index)
{
    const int n = CountRanges(doc);
    if (n >= maxRanges || index < 0 || index > n)
        return false;
    auto& ranges = doc.ranges;
    std::move_backward(ranges.begin() + index, ranges.begin() + n, ranges.begin() + n + 1);
    ClearRange(ranges[index]);
    return true;
}

bool RemoveRangeSlot(MeterCheckDoc& doc, int index)
{
    const int n = CountRanges(doc);
    if (index < 0 || index >= n)
        return false;
    auto& ranges = doc.ranges;
    std::move(ranges.begin() + index + 1, ranges.begin() + n, ranges.begin() + index);
    ClearRange(ranges[n - 1]);
    return true;
}

bool InsertPointSlot(MeterCheckDoc& doc, int range, int index)
{
    if (range < 0 || range >= maxRanges)
        return false;
    const int m = CountPoints(doc, range);
    if (m >= maxPoints || index < 0 || index > m)
        return false;
    auto& points = doc.ranges[range].points;
    std::move_backward(points.begin() + index, points.begin() + m, points.begin() + m + 1);
    ClearPoint(points[index]);
    return true;
}

bool RemovePointSlot(MeterCheckDoc& doc, int range, int index)
{
    if (range < 0 || range >= maxRanges)
        return false;
    const int m = CountPoints(doc, range);
    if (index < 0 || index >= m)
        return false;
    auto& points = doc.ranges[range].points;
    std::move(points.begin() + index + 1, points.begin() + m, points.begin() + index);
    ClearPoint(points[m - 1]);
    return true;
}
