// SPDX-License-Identifier: MIT
#include "core/program/ProgramChartData.h"

#include "core/program/ProgramText.h"

#include <algorithm>
#include <cmath>

ProgramChartData BuildProgramChart(const ProgramDoc& doc, const ProgramPlan& plan,
                                   const ProgramRunLog& log)
{
    ProgramChartData chart;
    chart.sourceUnit = ProgramText::SourceUnit(doc);
    chart.measureUnit = ProgramText::MeasureUnit(doc);
    if (doc.trip.enabled)
        chart.threshold = doc.trip.threshold;
    for (const PlannedStep& s : plan.steps) {
        chart.planned << QPointF(s.startMs / 1000.0, s.value)
                      << QPointF((s.startMs + s.dwellMs) / 1000.0, s.value);
    }
    chart.endSeconds = plan.totalMs / 1000.0;

    double last = 0;
    for (const ProgramLogEntry& e : log.entries) {
        const double t = e.ms / 1000.0;
        last = t;
        if (e.kind == ProgramLogEntry::Kind::Set) {
            if (!chart.set.isEmpty())
                chart.set << QPointF(t, chart.set.last().y());
            chart.set << QPointF(t, e.source);
            continue;
        }
        if (std::isfinite(e.reading))
            chart.readings << QPointF(t, e.reading);
        if (e.event == TripEvent::Trip)
            chart.trips << QPointF(t, e.source);
        else if (e.event == TripEvent::Reset)
            chart.resets << QPointF(t, e.source);
    }
    if (!chart.set.isEmpty() && last > chart.set.last().x())
        chart.set << QPointF(last, chart.set.last().y());
    chart.endSeconds = std::max(chart.endSeconds, last);
    return chart;
}
