// SPDX-License-Identifier: MIT
#include "core/panel/MeterStatistics.h"

#include "core/link/NumberText.h"

void MeterStatistics::Clear(int decimals)
{
    running = false;
    minValue = maxValue = spread = 0;
    readingSum = 0;
    readingCount = 0;
    lastReading = 0;
    lastAverage = 0;
    const QString zero = FormatFixed(0, decimals);
    minText = maxText = spreadText = averageText = zero;
}

void MeterStatistics::Restart(double v, int decimals)
{
    running = true;
    minValue = maxValue = v;
    lastReading = 0;
    spread = 0;
    readingSum = 0;
    readingCount = 0;
    lastAverage = 0;
    minText = maxText = FormatFixed(v, decimals);
    spreadText = averageText = FormatFixed(0, decimals);
}

void MeterStatistics::Take(double v, int decimals)
{
    lastReading = v;
    if (v < minValue) {
        minValue = v;
        minText = FormatFixed(v, decimals);
    }
    if (v > maxValue) {
        maxValue = v;
        maxText = FormatFixed(v, decimals);
    }
    spread = maxValue - minValue;
    spreadText = FormatFixed(spread, decimals);
    readingSum += v;
    readingCount += 1;
}

void MeterStatistics::EndWindow(int decimals)
{
    if (readingCount > 0)
        lastAverage = readingSum / readingCount;
    averageText = FormatFixed(lastAverage, decimals);
    readingSum = 0;
    readingCount = 0;
}
