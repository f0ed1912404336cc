// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/ProgramDoc.h"
#include "core/program/ProgramLog.h"
#include "core/program/ProgramPlan.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

// What the program's chart shows, in seconds from the first set-point (as the log counts): the
// planned course and the values set as step lines on the source's axis, the readings on the
// measure's axis, the trips and resets where they came. The window and the printed page draw the
// same data.
struct ProgramChartData
{
    QString sourceUnit;
    QString measureUnit;   // empty when nothing is measured
    double endSeconds = 0; // of the planned course, or of the log when it ran longer
    QList<QPointF> planned;
    QList<QPointF> set;
    QList<QPointF> readings; // range marks left out
    QList<QPointF> trips;    // at the source value
    QList<QPointF> resets;
    std::optional<double> threshold;
};

ProgramChartData BuildProgramChart(const ProgramDoc& doc, const ProgramPlan& plan,
                                   const ProgramRunLog& log);
