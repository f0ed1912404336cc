// SPDX-License-Identifier: MIT
#include "FuzzRanges.h"

#include "core/link/CalFunctionTable.h"

MeterRange FuzzedRange(FuzzSupport::Bytes& in)
{
    MeterRange r;
    const uint8_t kind = in.Byte();
    const uint8_t pick = in.Byte();
    r.rangeDefined = 1;
    switch (kind % 6) {
    case 0:
        r.function = RangeFunction::Voltage;
        r.calFunction = 0;
        r.rangeUnit = pick & 1 ? QStringLiteral("V") : QStringLiteral("mV");
        break;
    case 1:
        r.function = RangeFunction::Current;
        r.calFunction = 4;
        r.rangeUnit = QStringLiteral("mA");
        break;
    case 2:
        r.function = RangeFunction::Resistance;
        r.calFunction = 5;
        r.rangeUnit = pick & 1 ? QStringLiteral("kOhm") : QStringLiteral("Ohm");
        break;
    case 3:
        r.function = RangeFunction::Thermocouple;
        r.calFunction = 7;
        r.rangeUnit = QStringLiteral("°C");
        r.sensorName = CalFunctions::ThermocoupleNames().at(pick % 7);
        r.coldJunction = ColdJunction(pick / 7 % 3);
        break;
    case 4:
        r.function = RangeFunction::Rtd;
        r.calFunction = 14;
        r.rangeUnit = QStringLiteral("°C");
        r.sensorName = CalFunctions::ResistanceThermometerNames().at(pick % 6);
        break;
    default:
        // What only a file can hold.
        r.function = RangeFunction(in.U16());
        r.calFunction = qint16(in.U16());
        r.coldJunction = ColdJunction(in.U16());
        r.rangeUnit = in.Text().left(5);
        r.sensorName = in.Text().left(16);
        break;
    }
    r.rangeValue = QString::number(in.U16() % 10000);
    if (kind & 0x80) {
        r.toValue = in.Text().left(4);
        r.rlValue = in.Text().left(4);
        r.classReading = in.Text().left(5);
        r.classRange = in.Text().left(5);
        r.constTerm = in.Text().left(5);
        r.constUnit = in.Text().left(5);
    } else {
        r.toValue = QStringLiteral("23.0");
        r.classRange = QStringLiteral("0.5");
        r.constUnit = r.function == RangeFunction::Voltage ? QStringLiteral("mV") : r.rangeUnit;
    }
    return r;
}
