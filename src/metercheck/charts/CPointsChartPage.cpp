// SPDX-License-Identifier: MIT
#include "metercheck/charts/CPointsChartPage.h"

CPointsChartPage::CPointsChartPage(QWidget* parent) : ChartPage(parent) {}

ChartData CPointsChartPage::BuildChart(int range) const
{
    return RangeCharts::PointsChart(range);
}
