// TEMPORARY until the document operations land on main.
#include "metercheck/output/DocCounts.h"
#include "metercheck/document/MeterCheckDoc.h"
int CountRanges()
{
    int n = 0;
    for (const auto& r : meterCheckDoc.ranges)
        n += r.rangeDefined == 1;
    return n;
}
int CountPoints(qint16 range)
{
    int n = 0;
    for (const auto& p : meterCheckDoc.ranges[range].points)
        n += p.pointDefined == 1;
    return n;
}
