// SPDX-License-Identifier: MIT
#include "metercheck/charts/CErrorsChartPage.h"

CErrorsChartPage::CErrorsChartPage(QWidget* parent) : ChartPage(parent) {}

ChartData CErrorsChartPage::BuildChart(int range) const
{
    return RangeCharts::ErrorsChart(range);
}
