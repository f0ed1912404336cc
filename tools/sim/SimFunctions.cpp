// SPDX-License-Identifier: MIT
#include "SimFunctions.h"

#include <array>

namespace {

using Src = SimSourceFunction;
using Mea = SimMeasureFunction;
constexpr SimQuantity V = SimQuantity::Voltage;
constexpr SimQuantity I = SimQuantity::Current;
constexpr SimQuantity R = SimQuantity::Resistance;
constexpr SimQuantity None = SimQuantity::None;

// Average sensitivity of each thermocouple type over its working range, mV per °C.
constexpr std::array<double, 7> seebeck = {0.0105, 0.0096, 0.0075, 0.0545, 0.0450, 0.0680, 0.0410};
// R0 (ohms) and the mean temperature coefficient of each resistance thermometer.
constexpr std::array<double, 6> thermometerR0 = {100, 100, 500, 1000, 100, 100};
constexpr std::array<double, 6> thermometerAlpha = {0.00385, 0.00391, 0.00385,
                                                    0.00385, 0.00428, 0.00618};

// Thermocouple codes: mode digit (2 fixed junction, 4 internal, 6 external) + type digit.
constexpr Src sources[] = {
    {"00", Src::Kind::AutoVoltage, V, 1, -1},
    {"01", Src::Kind::Plain, V, 1, -1},
    {"02", Src::Kind::Plain, V, 1, -1},
    {"03", Src::Kind::Plain, V, 1000, -1},
    {"05", Src::Kind::Plain, V, 1000, -1},
    {"06", Src::Kind::Plain, I, 1, -1},
    {"120", Src::Kind::Plain, R, 1, -1},
    {"121", Src::Kind::Plain, R, 1, -1},
    {"23", Src::Kind::Thermocouple, V, 0, 0},
    {"43", Src::Kind::Thermocouple, V, 0, 0},
    {"63", Src::Kind::Thermocouple, V, 0, 0},
    {"20", Src::Kind::Thermocouple, V, 0, 1},
    {"40", Src::Kind::Thermocouple, V, 0, 1},
    {"60", Src::Kind::Thermocouple, V, 0, 1},
    {"25", Src::Kind::Thermocouple, V, 0, 2},
    {"45", Src::Kind::Thermocouple, V, 0, 2},
    {"65", Src::Kind::Thermocouple, V, 0, 2},
    {"21", Src::Kind::Thermocouple, V, 0, 3},
    {"41", Src::Kind::Thermocouple, V, 0, 3},
    {"61", Src::Kind::Thermocouple, V, 0, 3},
    {"24", Src::Kind::Thermocouple, V, 0, 4},
    {"44", Src::Kind::Thermocouple, V, 0, 4},
    {"64", Src::Kind::Thermocouple, V, 0, 4},
    {"26", Src::Kind::Thermocouple, V, 0, 5},
    {"46", Src::Kind::Thermocouple, V, 0, 5},
    {"66", Src::Kind::Thermocouple, V, 0, 5},
    {"22", Src::Kind::Thermocouple, V, 0, 6},
    {"42", Src::Kind::Thermocouple, V, 0, 6},
    {"62", Src::Kind::Thermocouple, V, 0, 6},
    {"82", Src::Kind::ResistanceThermometer, R, 0, 0},
    {"83", Src::Kind::ResistanceThermometer, R, 0, 1},
    {"85", Src::Kind::ResistanceThermometer, R, 0, 2},
    {"86", Src::Kind::ResistanceThermometer, R, 0, 3},
    {"102", Src::Kind::ResistanceThermometer, R, 0, 4},
    {"90", Src::Kind::ResistanceThermometer, R, 0, 5},
};

constexpr Mea::Kind Plain = Mea::Kind::Plain;
constexpr Mea::Kind Tc = Mea::Kind::Thermocouple;
constexpr Mea::Kind Rtd = Mea::Kind::ResistanceThermometer;
constexpr Mea::Kind Unseen = Mea::Kind::Unseen;

constexpr Mea measures[] = {
    {"01", Plain, V, 1, -1, 3, -55, 55, 10.0, 0.05},
    {"02", Plain, V, 1, -1, 2, -550, 550, 100.0, 0.5},
    {"03", Plain, V, 0.001, -1, 4, -2.75, 2.75, 1.0, 0.002},
    {"04", Plain, V, 0.001, -1, 3, -27.5, 27.5, 10.0, 0.02},
    {"00", Plain, V, 1, -1, 3, -27500, 27500, 100.0, 0.5},
    {"06", Plain, I, 1, -1, 3, -24.2, 24.2, 12.0, 0.02},
    {"120", Plain, R, 1, -1, 2, 0, 400, 109.73, 0.1},
    {"121", Plain, R, 1, -1, 1, 0, 4000, 1097.3, 1.0},
    {"130", Unseen, None, 0, -1, 3, 0, 20000, 50.0, 0.05},
    {"131", Unseen, None, 0, -1, 1, -50, 150, 23.0, 0.3},
    {"43", Tc, V, 0, 0, 1, -50, 1768, 23.0, 0.3},
    {"40", Tc, V, 0, 1, 1, -50, 1769, 23.0, 0.3},
    {"45", Tc, V, 0, 2, 1, 200, 1820, 250.0, 0.5},
    {"41", Tc, V, 0, 3, 1, -210, 950, 23.0, 0.3},
    {"44", Tc, V, 0, 4, 1, -270, 400, 23.0, 0.3},
    {"46", Tc, V, 0, 5, 1, -50, 700, 23.0, 0.3},
    {"42", Tc, V, 0, 6, 1, -270, 1370, 23.0, 0.3},
    {"82", Rtd, R, 0, 0, 2, -200, 850, 23.0, 0.3},
    {"83", Rtd, R, 0, 1, 2, -200, 850, 23.0, 0.3},
    {"85", Rtd, R, 0, 2, 1, -200, 850, 23.0, 0.3},
    {"86", Rtd, R, 0, 3, 1, -200, 850, 23.0, 0.3},
    {"102", Rtd, R, 0, 4, 1, -60, 180, 23.0, 0.3},
    {"90", Rtd, R, 0, 5, 1, -60, 180, 23.0, 0.3},
};

template <typename Table> auto Find(const Table& table, QByteArrayView code) -> decltype(&table[0])
{
    for (const auto& f : table) {
        if (code == QByteArrayView(f.code))
            return &f;
    }
    return nullptr;
}

} // namespace

const SimSourceFunction* FindSourceFunction(QByteArrayView code)
{
    return Find(sources, code);
}

const SimMeasureFunction* FindMeasureFunction(QByteArrayView code)
{
    return Find(measures, code);
}

double ThermocoupleMillivolts(int type, double celsius)
{
    return celsius * seebeck.at(type);
}

double ThermocoupleCelsius(int type, double millivolts)
{
    return millivolts / seebeck.at(type);
}

double ThermometerOhms(int type, double celsius)
{
    return thermometerR0.at(type) * (1.0 + thermometerAlpha.at(type) * celsius);
}

double ThermometerCelsius(int type, double ohms)
{
    return (ohms / thermometerR0.at(type) - 1.0) / thermometerAlpha.at(type);
}
