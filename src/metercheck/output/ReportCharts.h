#pragma once

#include "metercheck/output/ProtocolPrinter.h"

#include <memory>

// The chart pages' printing for the report: the points chart and the errors chart of a range,
// each as a print job of its own. Null while the chart pages are not available.
std::unique_ptr<ReportChartPrinter> CreateReportChartPrinter();
