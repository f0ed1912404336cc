// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckDoc.h"

#include <QStringList>

// Builds the document of a test as the editors and the procedures leave it: the meter, ranges
// in the slots given, the points of each range packed from its first slot.
//
//     DocumentBuilder(doc).Meter("V-640", "12")
//         .Range(0, RangeFunction::Voltage, "400", "mV").Nominals({"100", "300"})
//         .Range(1, RangeFunction::Current, "20", "mA").Nominals({"4"});
class DocumentBuilder
{
public:
    explicit DocumentBuilder(MeterCheckDoc& doc) : doc(doc) {}

    DocumentBuilder& Meter(const QString& name, const QString& number);
    DocumentBuilder& Method(CheckMethod method);

    // Slot `slot` becomes a defined range of the quantity (`function`) with its full-scale
    // value and unit, and the calibrator function the range editor presets for the quantity.
    DocumentBuilder& Range(int slot, RangeFunction function, const QString& value,
                           const QString& unit);
    // Slot `slot` becomes `range` as it is given.
    DocumentBuilder& Range(int slot, const MeterRange& range);
    // Fields of the range last put in.
    DocumentBuilder& ClassRange(const QString& classRange);
    DocumentBuilder& CalFunction(qint16 calFunction);
    DocumentBuilder& Measured();

    // Points of the last range waiting for their measurement: defined, the nominal value (in
    // the range's unit) where the document's method keeps it: the setting for the exact-setting
    // method, the reading for the exact-reading method.
    DocumentBuilder& Nominals(const QStringList& values, bool marked = true);
    // A point as it is given, in the next slot of the last range.
    DocumentBuilder& Point(const MeterPoint& point);

    MeterRange& LastRange() { return doc.ranges[range]; }

private:
    MeterCheckDoc& doc;
    int range = 0;
    int nextPoint = 0;
};

// A defined point with all its texts, marked and measured as given.
MeterPoint MakePoint(const QString& reading, const QString& setting, const QString& actual,
                     const QString& permissible, const QString& calibrator, const QString& unit,
                     bool marked, bool measured = true);
// A defined 400 mV range with class 0.05 % of value + 0.1 % of range + 0.01 mV.
MeterRange VoltageRange();
// A defined 1200 °C K-thermocouple range with the reference junction at To = 23.0 °C, served by
// calibrator function 13, class 0.5 % of range.
MeterRange ThermocoupleRange();
// Meter V-640 no. 12: a 400 mV range with the points 100 and 300, a 20 mA range with 4, 12 and
// 20, both of class 0.1 % of range, nothing measured.
void VoltsAndAmps(MeterCheckDoc& doc);
