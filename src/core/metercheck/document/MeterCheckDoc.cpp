// SPDX-License-Identifier: MIT
#include "core/metercheck/document/MeterCheckDoc.h"

#include "core/metercheck/document/DocumentSlots.h"

void ClearDocument(MeterCheckDoc& doc)
{
    doc.meterName.clear();
    doc.meterNumber.clear();
    doc.method = CheckMethod::ExactSetting;
    for (MeterRange& range : doc.ranges)
        ClearRange(range);
}

int CountRanges(const MeterCheckDoc& doc)
{
    int n = 0;
    for (const MeterRange& range : doc.ranges)
        n += range.rangeDefined == 1 ? 1 : 0;
    return n;
}

int CountPoints(const MeterCheckDoc& doc, int range)
{
    if (range < 0 || range >= maxRanges)
        return 0;
    int m = 0;
    for (const MeterPoint& point : doc.ranges[range].points)
        m += point.pointDefined == 1 ? 1 : 0;
    return m;
}
