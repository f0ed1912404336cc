// SPDX-License-Identifier: MIT
#include "core/metercheck/entry/RangeDescription.h"

#include "core/metercheck/document/MeterCheckDoc.h"

QString ThermocoupleSuffix(const MeterRange& range)
{
    switch (range.coldJunction) {
    case ColdJunction::Tex:
        return QStringLiteral(" [Tex]");
    case ColdJunction::Tin:
        return QStringLiteral(" [Tin]");
    case ColdJunction::To:
        return QStringLiteral(" [To=") + range.toValue + QStringLiteral("°C]");
    default:
        return {};
    }
}

QString ResistanceThermometerSuffix(const MeterRange& range)
{
    if (range.rlValue.isEmpty())
        return {};
    return QStringLiteral(" [RL=") + range.rlValue + QStringLiteral(" Ohm]");
}

QString SensorWithSuffix(const MeterRange& range)
{
    switch (range.function) {
    case RangeFunction::Thermocouple:
        return range.sensorName + ThermocoupleSuffix(range);
    case RangeFunction::Rtd:
        return range.sensorName + ResistanceThermometerSuffix(range);
    default:
        return range.sensorName;
    }
}

QString DescribeRange(const MeterRange& range)
{
    const int f = range.calFunction;
    if (f >= 0 && f <= 3)
        return QStringLiteral("Pomiar napięcia");
    if (f == 4)
        return QStringLiteral("Pomiar prądu");
    if (f == 5 || f == 6)
        return QStringLiteral("Pomiar rezystancji");
    if (f >= 7 && f <= 13)
        return QStringLiteral("Pomiar temperatury; Czujnik T/C: ") + range.sensorName +
               ThermocoupleSuffix(range);
    if (f >= 14 && f <= 19)
        return QStringLiteral("Pomiar temperatury; Czujnik RTD: ") + range.sensorName +
               ResistanceThermometerSuffix(range);
    return {};
}
