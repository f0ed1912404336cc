// SPDX-License-Identifier: MIT
#pragma once

#include "ui/metercheck/charts/ChartPage.h"

// "Wykres błędów": the actual errors of the marked points of a range between plus and minus
// the permissible error.
class CErrorsChartPage : public ChartPage
{
    Q_OBJECT

public:
    explicit CErrorsChartPage(const MeterCheckDoc& doc, QWidget* parent = nullptr);

protected:
    ChartData BuildChart(int range) const override;
};
