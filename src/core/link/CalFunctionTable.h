// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <array>

// One source function of the calibrator. The row number (0-19) is the calibrator function
// index used everywhere: unit, range text, settable limits, error terms, decimals, selection.
struct CalFunction
{
    QString sensorName; // the panel's choice, and the meter-check sensor for rows 7-19
    QString unitText;
    QString rangeText;
    double lowLimit;
    double highLimit;
    double errorConst;
    double errorFactor;
};

constexpr int calFunctionCount = 20;
extern std::array<CalFunction, calFunctionCount> CalFunctionTable;

// Fills the table with the calibrator's values (the program does it once at start).
void FillCalFunctionTable();

namespace CalFunctions {
constexpr int firstThermocouple = 7;
constexpr int lastThermocouple = 13;
constexpr int firstResistanceThermometer = 14;
constexpr int lastResistanceThermometer = 19;

inline bool IsThermocouple(int index)
{
    return index >= firstThermocouple && index <= lastThermocouple;
}
inline bool IsResistanceThermometer(int index)
{
    return index >= firstResistanceThermometer && index <= lastResistanceThermometer;
}
inline bool IsValid(int index)
{
    return index >= 0 && index < calFunctionCount;
}

// The row in first..last whose sensor name equals name exactly; -1 when none.
int FindBySensor(const QString& name, int first, int last);

// The "C" command that selects a function. Thermocouple rows take the reference-junction
// mode (0 Tex, 1 Tin, 2 To); the other rows ignore it. Empty for an index outside 0-19.
QString SelectCommand(int index, int coldJunction = 0);

// Sensor lists in the order every window shows them.
QStringList ThermocoupleNames();
QStringList ResistanceThermometerNames();
} // namespace CalFunctions
