// SPDX-License-Identifier: MIT
#pragma once

#include "ui/metercheck/charts/ChartPage.h"

// "Wykres punktów": the calibrator settings against the meter indications of the marked
// points of a range.
class CPointsChartPage : public ChartPage
{
    Q_OBJECT

public:
    CPointsChartPage(const MeterCheckDoc& doc, MessageService& messages, QWidget* parent = nullptr);

protected:
    ChartData BuildChart(int range) const override;
};
