// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <QtGlobal>

// The benches' document: `rangeCount` measured voltage ranges of 50 marked points each, their
// errors spread over the class limit, the same on every run.
inline void FillBenchDocument(MeterCheckDoc& doc, int rangeCount = maxRanges)
{
    ClearDocument(doc);
    doc.formatVersion = 1.0;
    doc.meterName = "Bench meter";
    doc.meterNumber = QString::number(rangeCount) + "x50";
    for (int i = 0; i < rangeCount; ++i) {
        MeterRange& r = doc.ranges[i];
        r.rangeValue = QString::number(100 + i * 10);
        r.rangeUnit = "mV";
        r.function = RangeFunction::Voltage;
        r.classReading = "0.05";
        r.classRange = "0.1";
        r.constTerm = "0.01";
        r.constUnit = "mV";
        r.rangeDefined = 1;
        r.rangeMeasured = 1;
        const double full = r.rangeValue.toDouble();
        for (int j = 0; j < maxPoints; ++j) {
            MeterPoint& p = r.points[j];
            const double setting = full * (j - 10) / 40.0;
            const double actual = ((j * 37 + i * 11) % 21 - 10) * 0.012;
            p.setting = FormatFixed(setting, 3);
            p.reading = FormatFixed(setting + actual, 3);
            p.actualError = FormatFixed(actual, 3);
            p.permissibleError = FormatFixed(full * 0.001 + 0.01 + qAbs(setting) * 0.0005, 3);
            p.calibratorError = FormatFixed(qAbs(setting) * 0.0001 + 0.005, 3);
            p.unit = "mV";
            p.marked = 1;
            p.pointDefined = 1;
            p.pointMeasured = 1;
        }
    }
}
