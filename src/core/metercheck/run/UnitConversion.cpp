// SPDX-License-Identifier: MIT
#include "core/metercheck/run/UnitConversion.h"

#include "core/link/NumberText.h"
#include "core/metercheck/run/FieldText.h"

#include <cmath>

namespace {

// The fewest decimals (from `least` up to 6) that write the value without losing a digit.
int ExactDecimals(double value, int least)
{
    for (int d = least; d < 6; ++d) {
        const double scaled = value * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * qMax(1.0, std::fabs(scaled)))
            return d;
    }
    return 6;
}

} // namespace

double RangeToPointFactor(const QString& rangeUnit, const QString& pointUnit)
{
    if (rangeUnit == QLatin1String("V") && pointUnit == QLatin1String("mV"))
        return 1000.0;
    if (rangeUnit == QLatin1String("mV") && pointUnit == QLatin1String("V"))
        return 0.001;
    if (rangeUnit == QLatin1String("Ohm") && pointUnit == QLatin1String("kOhm"))
        return 0.001;
    if (rangeUnit == QLatin1String("kOhm") && pointUnit == QLatin1String("Ohm"))
        return 1000.0;
    return 1.0;
}

QString ConvertToPointUnit(const QString& value, const QString& rangeUnit, const QString& pointUnit,
                           int decimals)
{
    const double factor = RangeToPointFactor(rangeUnit, pointUnit);
    if (factor == 1.0)
        return value;
    return FitFixed(ParseNumber(value) * factor, decimals);
}

QString ConvertToRangeUnit(const QString& value, const QString& pointUnit, const QString& rangeUnit,
                           int decimals)
{
    const double factor = RangeToPointFactor(rangeUnit, pointUnit);
    if (factor == 1.0)
        return value;
    const double converted = ParseNumber(value) / factor;
    return FitFixed(converted, ExactDecimals(converted, qMax(decimals, 0)));
}
