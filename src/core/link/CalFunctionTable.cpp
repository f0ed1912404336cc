// SPDX-License-Identifier: MIT
#include "core/link/CalFunctionTable.h"

namespace {

const std::array<CalFunction, calFunctionCount> calibratorFunctions = {{
    {"50mV", "mV", "50", -55, 55, 0.006, 0.0003},
    {"500mV", "mV", "500", -550, 550, 0.04, 0.0003},
    {"2V", "V", "2", -2.75, 2.75, 0.0004, 0.0003},
    {"12V", "V", "12", -13.2, 13.2, 0.004, 0.0003},
    {"22mA", "mA", "22", -24.2, 24.2, 0.004, 0.0003},
    {"400", "Ohm", "400", 0, 400, 0.12, 0.0002},
    {"4000", "Ohm", "4000", 0, 4000, 1.2, 0.0002},
    {"R (PtRh13-Pt)", "°C", "1768.0", -50, 1768, 1.2, 0.0003},
    {"S (PtRh10-Pt)", "°C", "1769.0", -50, 1769, 1.2, 0.0003},
    {"B (PtRh30-PtRh6)", "°C", "1820.0", 200, 1820, 1.2, 0.0003},
    {"J (Fe-CuNi)", "°C", "950.0", -210, 950, 0.4, 0.0003},
    {"T (Cu-CuNi)", "°C", "400.0", -270, 400, 0.4, 0.0003},
    {"E (NiCr-CuNi)", "°C", "700.0", -50, 700, 0.4, 0.0003},
    {"K (NiCr-NiAl)", "°C", "1370.0", -270, 1370, 0.4, 0.0003},
    {"Pt100 (385)", "°C", "850.0", -200, 850, 0.3, 0.0003},
    {"Pt100 (391)", "°C", "850.0", -200, 850, 0.3, 0.0003},
    {"Pt500", "°C", "850.0", -200, 850, 0.5, 0.0003},
    {"Pt1000", "°C", "850.0", -200, 850, 0.5, 0.0003},
    {"Cu100", "°C", "180.0", -60, 180, 0.3, 0.0003},
    {"Ni100", "°C", "180.0", -60, 180, 0.3, 0.0003},
}};

// Selection codes of the rows that do not depend on the reference junction.
// clang-format off
const char* const fixedSelectCodes[calFunctionCount] = {
    "C01", "C02", "C03", "C05", "C06", "C120", "C121",
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    "C82", "C83", "C85", "C86", "C102", "C90",
};
// clang-format on

// Thermocouple codes: "C", a mode digit (6 external, 4 internal, 2 fixed), a type digit.
const char thermocoupleTypeDigit[] = {'3', '0', '5', '1', '4', '6', '2'}; // R S B J T E K
const char junctionModeDigit[] = {'6', '4', '2'};                         // Tex Tin To

} // namespace

std::array<CalFunction, calFunctionCount> CalFunctionTable = calibratorFunctions;

void FillCalFunctionTable()
{
    CalFunctionTable = calibratorFunctions;
}

namespace CalFunctions {

int FindBySensor(const QString& name, int first, int last)
{
    for (int i = qMax(first, 0); i <= last && i < calFunctionCount; ++i)
        if (CalFunctionTable[i].sensorName == name)
            return i;
    return -1;
}

QString SelectCommand(int index, int coldJunction)
{
    if (!IsValid(index))
        return {};
    if (IsThermocouple(index)) {
        if (coldJunction < 0 || coldJunction > 2)
            return {};
        return QStringLiteral("C") + QChar(junctionModeDigit[coldJunction]) +
               QChar(thermocoupleTypeDigit[index - firstThermocouple]);
    }
    return QString::fromLatin1(fixedSelectCodes[index]);
}

QStringList ThermocoupleNames()
{
    QStringList names;
    for (int i = firstThermocouple; i <= lastThermocouple; ++i)
        names << calibratorFunctions[i].sensorName;
    return names;
}

QStringList ResistanceThermometerNames()
{
    QStringList names;
    for (int i = firstResistanceThermometer; i <= lastResistanceThermometer; ++i)
        names << calibratorFunctions[i].sensorName;
    return names;
}

} // namespace CalFunctions
