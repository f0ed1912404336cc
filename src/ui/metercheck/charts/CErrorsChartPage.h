// SPDX-License-Identifier: MIT
#pragma once

#include "ui/metercheck/charts/ChartPage.h"

// "Wykres błędów": the actual errors of the marked points of a range between plus and minus
// the permissible error.
class CErrorsChartPage : public ChartPage
{
    Q_OBJECT

public:
    CErrorsChartPage(const MeterCheckDoc& doc, MessageService& messages, QWidget* parent = nullptr);

protected:
    ChartData BuildChart(int range) const override;
};
