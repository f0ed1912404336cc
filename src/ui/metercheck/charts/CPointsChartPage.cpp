// SPDX-License-Identifier: MIT
#include "ui/metercheck/charts/CPointsChartPage.h"

CPointsChartPage::CPointsChartPage(const MeterCheckDoc& doc, MessageService& messages,
                                   QWidget* parent)
    : ChartPage(doc, messages, parent)
{}

ChartData CPointsChartPage::BuildChart(int range) const
{
    return RangeCharts::PointsChart(doc, range);
}
