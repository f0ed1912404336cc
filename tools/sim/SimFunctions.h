// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

// What the calibrator's output puts on its own measure input when the two are looped back.
// Values travel in base units: millivolts, milliamperes, ohms.
enum class SimQuantity
{
    None,
    Voltage,
    Current,
    Resistance
};

// One source function, selected by "C" + code.
struct SimSourceFunction
{
    enum class Kind
    {
        Plain,
        AutoVoltage,
        Thermocouple,
        ResistanceThermometer
    };
    const char* code;
    Kind kind;
    SimQuantity drives;
    double toBase; // set-point unit → base unit (plain functions)
    int sensor;    // thermocouple or resistance-thermometer type, -1 otherwise
};

// One measure function, selected by "M" + code.
struct SimMeasureFunction
{
    enum class Kind
    {
        Plain,
        Thermocouple,
        ResistanceThermometer,
        Unseen
    };
    const char* code;
    Kind kind;
    SimQuantity sees;
    double fromBase; // base unit → reading unit (plain functions)
    int sensor;
    int decimals;
    double low, high; // what the range can show; beyond it the reply is an over/under mark
    double restValue; // what an input with nothing looped back to it reads
    double driftSpan; // how far that value wanders, slowly
};

// Thermocouple types in the order R, S, B, J, T, E, K; resistance thermometers in the order
// Pt100 (385), Pt100 (391), Pt500, Pt1000, Cu100, Ni100.
const SimSourceFunction* FindSourceFunction(QByteArrayView code);
const SimMeasureFunction* FindMeasureFunction(QByteArrayView code);

// Linear stand-ins for the thermocouple and resistance-thermometer tables: good enough for
// readings that look right, exact inverses of each other so a loop-back reads the set-point.
double ThermocoupleMillivolts(int type, double celsius);
double ThermocoupleCelsius(int type, double millivolts);
double ThermometerOhms(int type, double celsius);
double ThermometerCelsius(int type, double ohms);
