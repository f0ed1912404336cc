// SPDX-License-Identifier: MIT
#include "core/metercheck/run/PointErrors.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/run/FieldText.h"

#include <cmath>

namespace {

// Uncertainty of the thermocouple's reference junction when the calibrator measures it.
constexpr double referenceJunctionError = 0.8; // °C

bool Is(const QString& text, const char* unit)
{
    return text == QString::fromUtf8(unit);
}

} // namespace

void EvaluatePointErrors(MeterCheckDoc& doc, int range, int point)
{
    if (range < 0 || range >= maxRanges || point < 0 || point >= maxPoints)
        return;
    const MeterRange& r = doc.ranges[range];
    MeterPoint& p = doc.ranges[range].points[point];
    if (r.rangeMeasured != 1 || p.pointDefined != 1 || p.pointMeasured != 1)
        return;

    const double classReading = ParseNumber(r.classReading);
    const double classRange = ParseNumber(r.classRange);
    double constTerm = ParseNumber(r.constTerm);
    double rangeValue = ParseNumber(r.rangeValue);
    double reading = ParseNumber(p.reading);

    // Everything in V, A, Ohm or °C.
    if (Is(r.constUnit, "µV"))
        constTerm *= 0.000001;
    else if (Is(r.constUnit, "mV") || Is(r.constUnit, "mA"))
        constTerm *= 0.001;
    switch (r.function) {
    case RangeFunction::Voltage:
        if (Is(r.rangeUnit, "mV"))
            rangeValue *= 0.001;
        if (Is(p.unit, "mV"))
            reading *= 0.001;
        break;
    case RangeFunction::Current:
        rangeValue *= 0.001;
        reading *= 0.001;
        break;
    case RangeFunction::Resistance:
        if (Is(r.rangeUnit, "kOhm"))
            rangeValue *= 1000.0;
        break;
    default:
        break;
    }

    double permissible = std::fabs(rangeValue * classRange * 0.01 + constTerm) +
                         std::fabs(reading * classReading * 0.01);
    if (Is(p.unit, "mV") || Is(p.unit, "mA"))
        permissible *= 1000.0;
    const double actual = ParseNumber(p.reading) - ParseNumber(p.setting);

    const int decimals = DecimalsForFunction(r.calFunction);
    p.permissibleError = FitFixed(permissible, decimals);
    p.actualError = FitFixed(actual, decimals);
}

QString CalibratorErrorText(const QString& settingText, int functionIndex,
                            ColdJunction coldJunction)
{
    if (!CalFunctions::IsValid(functionIndex))
        return {};
    const CalFunction& f = CalFunctionTable[functionIndex];
    double error = std::fabs(ParseNumber(settingText)) * f.errorFactor + f.errorConst;
    if (CalFunctions::IsThermocouple(functionIndex) &&
        (coldJunction == ColdJunction::Tex || coldJunction == ColdJunction::Tin))
        error += referenceJunctionError;
    return FitFixed(error, DecimalsForFunction(functionIndex));
}

bool ErrorExceedsPermissible(const MeterPoint& point)
{
    return std::fabs(ParseNumber(point.actualError)) > ParseNumber(point.permissibleError);
}
