// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramChartData.h"

#include <QWidget>

// The program's chart in the window, painted as the printed page paints it.
class ProgramChart : public QWidget
{
    Q_OBJECT

public:
    explicit ProgramChart(QWidget* parent = nullptr);
    void SetData(ProgramChartData data);
    const ProgramChartData& Data() const { return data; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProgramChartData data;
};
