#pragma once

#include "metercheck/charts/ChartData.h"

class QChart;

// Puts chart data on a Qt chart: the series with their legends and colours, the titles and
// the value axis with its minimum, maximum and step. The points chart shows bars, the errors
// chart lines with a mark at every point; the points are numbered 1..k along the chart.
namespace ChartBuilder {

void Fill(QChart& chart, const ChartData& data);

// Printf format of the value-axis labels: enough decimals to tell the steps apart.
QString LabelFormat(double step);

} // namespace ChartBuilder
