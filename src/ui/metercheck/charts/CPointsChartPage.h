// SPDX-License-Identifier: MIT
#pragma once

#include "ui/metercheck/charts/ChartPage.h"

// "Wykres punktów": the calibrator settings against the meter indications of the marked
// points of a range.
class CPointsChartPage : public ChartPage
{
    Q_OBJECT

public:
    explicit CPointsChartPage(const MeterCheckDoc& doc, QWidget* parent = nullptr);

protected:
    ChartData BuildChart(int range) const override;
};
