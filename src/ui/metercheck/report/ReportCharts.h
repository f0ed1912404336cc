// SPDX-License-Identifier: MIT
#pragma once

#include "ui/metercheck/report/ProtocolPrinter.h"

#include <memory>

// The charts of the report: the points chart and the errors chart of a range of `doc`, each as
// a print job of its own, drawn as the chart pages show them; failures are told through
// `messages`.
std::unique_ptr<ReportChartPrinter> CreateReportChartPrinter(const MeterCheckDoc& doc,
                                                             MessageService& messages);
