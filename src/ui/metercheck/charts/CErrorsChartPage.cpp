// SPDX-License-Identifier: MIT
#include "ui/metercheck/charts/CErrorsChartPage.h"

CErrorsChartPage::CErrorsChartPage(const MeterCheckDoc& doc, MessageService& messages,
                                   QWidget* parent)
    : ChartPage(doc, messages, parent)
{}

ChartData CErrorsChartPage::BuildChart(int range) const
{
    return RangeCharts::ErrorsChart(doc, range);
}
