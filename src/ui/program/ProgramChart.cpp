// SPDX-License-Identifier: MIT
#include "ui/program/ProgramChart.h"

#include "ui/program/ProgramChartDrawing.h"

#include <QPainter>

ProgramChart::ProgramChart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(420, 260);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void ProgramChart::SetData(ProgramChartData next)
{
    data = std::move(next);
    update();
}

void ProgramChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintProgramChart(painter, QRectF(rect()).adjusted(8, 6, -8, -4), data, font());
}
