// SPDX-License-Identifier: MIT
#include "ui/metercheck/charts/CPointsChartPage.h"

CPointsChartPage::CPointsChartPage(const MeterCheckDoc& doc, QWidget* parent)
    : ChartPage(doc, parent)
{}

ChartData CPointsChartPage::BuildChart(int range) const
{
    return RangeCharts::PointsChart(doc, range);
}
