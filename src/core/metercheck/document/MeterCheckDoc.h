// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/ColdJunction.h"

#include <QString>

#include <array>

// The meter-check document: the meter under test, the method, up to 50 ranges of up to
// 50 points. Numbers are kept as the texts shown ("." as the decimal point). Defined ranges
// occupy slots 0..n-1 and defined points of a range slots 0..m-1: editors keep them packed.

constexpr int maxRanges = 50;
constexpr int maxPoints = 50;

// What a meter range measures. The file keeps the number; a number outside the list (a damaged
// or foreign file) is kept as it is and matches none of the names.
enum class RangeFunction : qint16
{
    Voltage = 0,
    Current = 1,
    Resistance = 2,
    Thermocouple = 3, // temperature with a thermocouple
    Rtd = 4,          // temperature with a resistance thermometer
};

// How a meter is checked. The file keeps the number; a number outside the list is kept as it is.
enum class CheckMethod : qint16
{
    ExactSetting = 0, // the calibrator is set to the nominal value, the meter is read
    ExactReading = 1, // the calibrator is adjusted until the meter shows the nominal value
};

struct MeterPoint
{
    QString reading;          // indication of the meter under test
    QString setting;          // setting of the calibrator
    QString actualError;      // reading - setting
    QString permissibleError; // from the meter's accuracy class
    QString calibratorError;  // the calibrator's own error at the setting
    QString unit;             // unit of the five values above
    quint8 marked = 0;        // switched ON: measured by "marked points" runs, drawn on charts
    quint8 pointDefined = 0;  // the slot holds a point
    quint8 reserved = 0;      // always 0
    quint8 pointMeasured = 0; // the errors are valid

    // The value the point is defined by: the calibrator's setting in the exact-setting method,
    // the meter's reading in the exact-reading method (a number outside the list counts as
    // exact setting).
    QString& Nominal(CheckMethod method)
    {
        return method == CheckMethod::ExactReading ? reading : setting;
    }
    const QString& Nominal(CheckMethod method) const
    {
        return method == CheckMethod::ExactReading ? reading : setting;
    }
    // The other value: what the measurement finds.
    QString& Measured(CheckMethod method)
    {
        return method == CheckMethod::ExactReading ? setting : reading;
    }

    bool operator==(const MeterPoint&) const = default;
};

struct MeterRange
{
    QString rangeValue; // full-scale value, digits only
    QString sensorName; // thermocouple or resistance-thermometer type; empty otherwise
    QString rangeUnit;  // "mV", "V", "mA", "Ohm", "kOhm" or "°C"
    RangeFunction function = RangeFunction::Voltage;
    qint16 calFunction = 0;                        // calibrator function index last used (0-19)
    ColdJunction coldJunction = ColdJunction::Tex; // To means toValue
    QString toValue;                               // To in °C, one decimal
    QString rlValue;                               // lead resistance in Ohm, one decimal
    QString classReading;                          // class part in % of the measured value
    QString classRange;                            // class part in % of the range
    QString constTerm;                             // constant component of the permissible error
    QString constUnit;                             // its unit
    quint8 rangeDefined = 0;
    std::array<MeterPoint, maxPoints> points;
    quint8 rangeMeasured = 0;

    bool operator==(const MeterRange&) const = default;
};

struct MeterCheckDoc
{
    double formatVersion = 0.0;
    QString meterName;
    QString meterNumber;
    CheckMethod method = CheckMethod::ExactSetting;
    std::array<MeterRange, maxRanges> ranges;

    bool operator==(const MeterCheckDoc&) const = default;
};

// Empties the whole document: texts empty, method 0, function and coldJunction the first of
// their lists, every flag 0.
// formatVersion and the calFunction presets stay as they are.
void ClearDocument(MeterCheckDoc& doc);
// Number of range slots whose rangeDefined is exactly 1.
int CountRanges(const MeterCheckDoc& doc);
// Number of point slots of range `range` whose pointDefined is exactly 1 (0 for a bad index).
int CountPoints(const MeterCheckDoc& doc, int range);
