// SPDX-License-Identifier: MIT
#include "ui/metercheck/charts/CErrorsChartPage.h"

CErrorsChartPage::CErrorsChartPage(const MeterCheckDoc& doc, QWidget* parent)
    : ChartPage(doc, parent)
{}

ChartData CErrorsChartPage::BuildChart(int range) const
{
    return RangeCharts::ErrorsChart(doc, range);
}
