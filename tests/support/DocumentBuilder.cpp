// SPDX-License-Identifier: MIT
#include "DocumentBuilder.h"

DocumentBuilder& DocumentBuilder::Meter(const QString& name, const QString& number)
{
    doc.meterName = name;
    doc.meterNumber = number;
    return *this;
}

DocumentBuilder& DocumentBuilder::Method(CheckMethod method)
{
    doc.method = method;
    return *this;
}

DocumentBuilder& DocumentBuilder::Range(int slot, RangeFunction function, const QString& value,
                                        const QString& unit)
{
    static const qint16 presets[] = {0, 4, 5, 7, 14}; // by RangeFunction
    MeterRange r;
    r.function = function;
    const int quantity = int(function);
    r.calFunction = quantity >= 0 && quantity <= 4 ? presets[quantity] : 0;
    r.rangeValue = value;
    r.rangeUnit = unit;
    r.rangeDefined = 1;
    return Range(slot, r);
}

DocumentBuilder& DocumentBuilder::Range(int slot, const MeterRange& r)
{
    range = slot;
    doc.ranges[slot] = r;
    nextPoint = 0;
    while (nextPoint < maxPoints && r.points[nextPoint].pointDefined == 1)
        ++nextPoint;
    return *this;
}

DocumentBuilder& DocumentBuilder::ClassRange(const QString& classRange)
{
    LastRange().classRange = classRange;
    return *this;
}

DocumentBuilder& DocumentBuilder::CalFunction(qint16 calFunction)
{
    LastRange().calFunction = calFunction;
    return *this;
}

DocumentBuilder& DocumentBuilder::Measured()
{
    LastRange().rangeMeasured = 1;
    return *this;
}

DocumentBuilder& DocumentBuilder::Nominals(const QStringList& values, bool marked)
{
    for (const QString& value : values) {
        MeterPoint p;
        p.Nominal(doc.method) = value;
        p.marked = marked ? 1 : 0;
        p.pointDefined = 1;
        Point(p);
    }
    return *this;
}

DocumentBuilder& DocumentBuilder::Point(const MeterPoint& point)
{
    LastRange().points[nextPoint++] = point;
    return *this;
}

MeterPoint MakePoint(const QString& reading, const QString& setting, const QString& actual,
                     const QString& permissible, const QString& calibrator, const QString& unit,
                     bool marked, bool measured)
{
    MeterPoint p;
    p.reading = reading;
    p.setting = setting;
    p.actualError = actual;
    p.permissibleError = permissible;
    p.calibratorError = calibrator;
    p.unit = unit;
    p.marked = marked ? 1 : 0;
    p.pointDefined = 1;
    p.pointMeasured = measured ? 1 : 0;
    return p;
}

MeterRange VoltageRange()
{
    MeterRange r;
    r.rangeValue = "400";
    r.rangeUnit = "mV";
    r.function = RangeFunction::Voltage;
    r.calFunction = 0;
    r.classReading = "0.05";
    r.classRange = "0.1";
    r.constTerm = "0.01";
    r.constUnit = "mV";
    r.rangeDefined = 1;
    return r;
}

MeterRange ThermocoupleRange()
{
    MeterRange r;
    r.rangeValue = "1200";
    r.rangeUnit = "°C";
    r.sensorName = "K (NiCr-NiAl)";
    r.function = RangeFunction::Thermocouple;
    r.calFunction = 13;
    r.coldJunction = ColdJunction::To;
    r.toValue = "23.0";
    r.classRange = "0.5";
    r.rangeDefined = 1;
    return r;
}

void VoltsAndAmps(MeterCheckDoc& doc)
{
    DocumentBuilder(doc)
        .Meter("V-640", "12")
        .Range(0, RangeFunction::Voltage, "400", "mV")
        .ClassRange("0.1")
        .Nominals({"100", "300"})
        .Range(1, RangeFunction::Current, "20", "mA")
        .ClassRange("0.1")
        .Nominals({"4", "12", "20"});
}
