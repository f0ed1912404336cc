// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct MeterRange;

// Thermocouple suffix by the reference junction: " [Tex]", " [Tin]", " [To=23.0°C]";
// empty for any other junction value.
QString ThermocoupleSuffix(const MeterRange& range);
// Resistance-thermometer suffix: " [RL=10.0 Ohm]", empty without a lead resistance.
QString ResistanceThermometerSuffix(const MeterRange& range);
// The sensor as the ranges grid shows it: the name followed by the suffix of its kind
// (function 3 thermocouple, 4 resistance thermometer); just the name otherwise.
QString SensorWithSuffix(const MeterRange& range);

// One line about the range for the measurement dialogs, chosen by calFunction. Empty when
// calFunction is outside 0-19: the caller then keeps the text it showed before.
QString DescribeRange(const MeterRange& range);
