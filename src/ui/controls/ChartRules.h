// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

// What a chart shows the same way on the screen and on paper: the value axis's range and
// labelled ticks, and the title's font.
struct ValueAxisScale
{
    double low = -1.0;
    double high = 1.0;
    QList<double> ticks; // bottom to top
    QStringList labels;  // one per tick
};

// The value axis from its minimum, maximum and the distance between its ticks: the ticks are
// the multiples of the step between the two (a round step when the given one is not positive
// or would make too many), labelled with the fewest decimals that show each exactly; the zero
// line reads "0.0", never "-0.0". All values 0 give a band around the zero line.
ValueAxisScale ScaleValueAxis(double minimum, double maximum, double step);

// The chart's title: bold, a quarter larger than the chart's font, in the unit that font is
// given in (the program's fonts are set in pixels).
QFont ChartTitleFont(const QFont& chartFont);
