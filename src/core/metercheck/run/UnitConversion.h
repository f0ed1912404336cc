// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// A point's nominal value is typed in its range's unit; once measured, every value of the
// point is held in the unit of the calibrator function that served it. Only V↔mV and
// Ohm↔kOhm convert; any other pair of units leaves the text as it is.

// The factor that takes a value from the range's unit into the point's unit (1 when none).
double RangeToPointFactor(const QString& rangeUnit, const QString& pointUnit);

// The value (a number text) in the range unit, given in the point unit with the function's
// decimals (fewer when it would not fit its field).
QString ConvertToPointUnit(const QString& value, const QString& rangeUnit, const QString& pointUnit,
                           int decimals);

// The inverse: a value in the point unit back in the range unit. It keeps at least the
// function's decimals and as many more as the value needs to come back exactly (50.000 mV
// is 0.050 V, 12.300 mV is 0.0123 V), within its field.
QString ConvertToRangeUnit(const QString& value, const QString& pointUnit, const QString& rangeUnit,
                           int decimals);
