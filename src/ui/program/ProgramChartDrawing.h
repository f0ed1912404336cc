// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramChartData.h"

#include <QFont>
#include <QRectF>

class QPainter;

// The program's chart drawn with a painter, on the screen and on paper alike: time in seconds
// along the bottom, the source's values on the left axis (the planned course dashed grey, the
// values set blue), the readings on the right axis (red, the threshold dotted), the trips and
// resets marked on the values set, a legend under it. Any coordinate system: the font is given
// in its units.
void PaintProgramChart(QPainter& painter, const QRectF& area, const ProgramChartData& chart,
                       const QFont& font);
