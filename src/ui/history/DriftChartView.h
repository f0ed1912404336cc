// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/DriftData.h"

#include <QChartView>

class QLineSeries;

// The drift chart of the history window: one line of actual errors over the checks for every
// measuring point, and the permissible error of the chosen point as a band around zero.
class DriftChartView : public QChartView
{
    Q_OBJECT

public:
    explicit DriftChartView(QWidget* parent = nullptr);

    // Draws the drift; `bandSeries` is the point whose permissible error is shown as the band
    // (none for -1).
    void Show(const DriftData& drift, int bandSeries);
    void Clear();

    // The lines of actual errors, one per measuring point, in the order of the drift's series.
    QList<QLineSeries*> ErrorLines() const { return errorLines; }

private:
    QList<QLineSeries*> errorLines;
};
