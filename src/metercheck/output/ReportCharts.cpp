#include "metercheck/output/ReportCharts.h"

std::unique_ptr<ReportChartPrinter> CreateReportChartPrinter()
{
    return nullptr;
}
