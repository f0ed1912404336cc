// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Minimum, maximum and spread of the readings since the last Reset, and the average of
// consecutive windows of t seconds. Keeps the texts of the four fields as well, because a
// stopped statistic goes on showing what it showed last.
class MeterStatistics
{
public:
    // Stopped, every value and field zero (a new measure selection, opening, reset).
    void Clear(int decimals);
    // Running from the reading v: MIN and MAX show v, spread and AVR zero.
    void Restart(double v, int decimals);
    // One reading of a running statistic.
    void Take(double v, int decimals);
    // The end of an averaging window: AVR shows the window's mean. A window that got no
    // reading (the link was slow or the statistic had just been cleared) shows the mean of
    // the last window that had readings again, or zero before there was one.
    void EndWindow(int decimals);

    bool running = false;
    double minValue = 0;
    double maxValue = 0;
    double spread = 0;
    double readingSum = 0;
    int readingCount = 0;
    double lastReading = 0;
    double lastAverage = 0; // mean of the last window that had readings

    QString minText = QStringLiteral("0.000");
    QString maxText = QStringLiteral("0.000");
    QString spreadText = QStringLiteral("0.000");
    QString averageText = QStringLiteral("0.000");
};
