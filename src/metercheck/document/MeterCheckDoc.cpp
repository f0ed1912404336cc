// SPDX-License-Identifier: MIT
#include "metercheck/document/MeterCheckDoc.h"

#include "metercheck/document/DocumentSlots.h"

MeterCheckDoc meterCheckDoc;
qint16 currentRange = 0;
qint16 currentPoint = 0;
QString documentName;
bool documentModified = false;
qint16 meterCheckState = 0;

void ClearDocument()
{
    meterCheckDoc.meterName.clear();
    meterCheckDoc.meterNumber.clear();
    meterCheckDoc.method = 0;
    for (MeterRange& range : meterCheckDoc.ranges)
        ClearRange(range);
}

int CountRanges()
{
    int n = 0;
    for (const MeterRange& range : meterCheckDoc.ranges)
        n += range.rangeDefined == 1 ? 1 : 0;
    return n;
}

int CountPoints(int range)
{
    if (range < 0 || range >= maxRanges)
        return 0;
    int m = 0;
    for (const MeterPoint& point : meterCheckDoc.ranges[range].points)
        m += point.pointDefined == 1 ? 1 : 0;
    return m;
}
