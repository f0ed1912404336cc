// SPDX-License-Identifier: MIT
#include "SimInstrument.h"

#include "core/link/NumberText.h"

#include <cmath>
#include <numbers>

bool ParseCommandNumber(const QByteArray& text, double* value, int* decimals)
{
    int i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int digits = 0;
    int afterPoint = -1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (afterPoint >= 0)
                ++afterPoint;
        } else if (c == '.' && afterPoint < 0) {
            afterPoint = 0;
        } else {
            return false;
        }
    }
    if (digits == 0)
        return false;
    *value = ParseNumber(QString::fromLatin1(text));
    if (decimals)
        *decimals = qMax(afterPoint, 0);
    return true;
}

SimInstrument::SimInstrument()
    : source(FindSourceFunction("01")), measure(FindMeasureFunction("04")), random(718)
{}

QByteArray SimInstrument::Handle(const QByteArray& command, double nowSeconds)
{
    const QByteArray nakReply(1, nak);
    if (command.isEmpty())
        return nakReply;
    const QByteArray rest = command.mid(1);
    double value = 0;
    bool known = false;
    switch (command[0]) {
    case 'I': // first command after the port is opened, and the recovery frame
    case 'X': // the port test
        known = rest.isEmpty();
        break;
    case 'P':
        if (rest.isEmpty())
            return ReadingReply(Measure(nowSeconds));
        break;
    case 'S':
        known = rest == "1" || rest == "0";
        if (known)
            operate = rest == "1";
        break;
    case 'C':
        if (const SimSourceFunction* f = FindSourceFunction(rest)) {
            source = f;
            setPoint = 0;
            autoInVolts = false;
            known = true;
        }
        break;
    case 'N':
        known = SetValue(rest);
        break;
    case 'T':
        known = ParseCommandNumber(rest, &value);
        if (known)
            referenceTemperature = value;
        break;
    case 'R':
        known = ParseCommandNumber(rest, &value);
        if (known)
            sourceLeadResistance = value;
        break;
    case 'M':
        if (const SimMeasureFunction* f = FindMeasureFunction(rest)) {
            measure = f;
            known = true;
        }
        break;
    case 'Q':
        known = ParseCommandNumber(rest, &value);
        if (known)
            measureLeadResistance = value;
        break;
    default:
        break;
    }
    return known ? '^' + command + '%' : nakReply;
}

bool SimInstrument::SetValue(const QByteArray& text)
{
    double value = 0;
    int decimals = 0;
    if (!ParseCommandNumber(text, &value, &decimals))
        return false;
    setPoint = value;
    // The automatic voltage range takes millivolts in its 50 mV and 500 mV sub-ranges (3 and
    // 2 decimals) and volts in its 2 V and 12 V sub-ranges (4 and 3 decimals). Three decimals
    // are both 50 mV and 12 V: the unit of the previous set-point decides, as the instrument
    // stays in its sub-range until the value calls for another.
    if (source->kind == SimSourceFunction::Kind::AutoVoltage) {
        if (decimals == 4)
            autoInVolts = true;
        else if (decimals == 2)
            autoInVolts = false;
    }
    return true;
}

SimQuantity SimInstrument::Output(double* baseValue) const
{
    switch (source->kind) {
    case SimSourceFunction::Kind::Plain:
        *baseValue = setPoint * source->toBase;
        break;
    case SimSourceFunction::Kind::AutoVoltage:
        *baseValue = autoInVolts ? setPoint * 1000 : setPoint;
        break;
    case SimSourceFunction::Kind::Thermocouple:
        *baseValue = ThermocoupleMillivolts(source->sensor, setPoint);
        break;
    case SimSourceFunction::Kind::ResistanceThermometer:
        *baseValue = ThermometerOhms(source->sensor, setPoint);
        break;
    }
    return source->drives;
}

double SimInstrument::SeenValue(double baseValue) const
{
    switch (measure->kind) {
    case SimMeasureFunction::Kind::Thermocouple:
        return ThermocoupleCelsius(measure->sensor, baseValue);
    case SimMeasureFunction::Kind::ResistanceThermometer:
        return ThermometerCelsius(measure->sensor, baseValue);
    default:
        return baseValue * measure->fromBase;
    }
}

double SimInstrument::Noise()
{
    if (!noiseOn)
        return 0;
    std::normal_distribution<double> spread(0.0, 0.4 * std::pow(10.0, -measure->decimals));
    return spread(random);
}

SimReading SimInstrument::Measure(double nowSeconds)
{
    SimReading reading;
    reading.decimals = measure->decimals;
    if (forcedRange != SimForcedRange::None) {
        reading.kind = forcedRange == SimForcedRange::Over ? SimReading::Kind::OverRange
                                                           : SimReading::Kind::UnderRange;
        return reading;
    }
    double base = 0;
    double value = 0;
    const SimQuantity driven = Output(&base);
    if (transmitter.On() && measure->sees != SimQuantity::None && driven != measure->sees) {
        // The transmitter sits where the output cannot reach the input directly (a
        // thermocouple in, a current out). In standby its input sees nothing: its output sits
        // at the lower value.
        value = transmitter.Output(operate ? setPoint : transmitter.Current().inLow, nowSeconds,
                                   random);
    } else if (measure->sees != SimQuantity::None && driven == measure->sees) {
        // In standby the output is off: the input reads zero in its own unit.
        value = operate ? SeenValue(base) : 0.0;
    } else {
        // Two slow waves, so the value does not simply swing back and forth.
        const double t = nowSeconds * 2 * std::numbers::pi;
        value = measure->restValue +
                measure->driftSpan * (0.7 * std::sin(t / 97.0) + 0.3 * std::sin(t / 23.0));
    }
    value += Noise();
    // Resistance and frequency never read below zero, however the noise falls.
    if (measure->low >= 0 && (measure->kind == SimMeasureFunction::Kind::Plain ||
                              measure->kind == SimMeasureFunction::Kind::Unseen))
        value = std::fabs(value);
    reading.value = value;
    const double shown = ParseNumber(FormatFixed(value, measure->decimals));
    if (shown > measure->high)
        reading.kind = SimReading::Kind::OverRange;
    else if (shown < measure->low)
        reading.kind = SimReading::Kind::UnderRange;
    return reading;
}

QByteArray SimInstrument::ReadingReply(const SimReading& reading)
{
    constexpr int width = 7;
    const QByteArray over = "^+~~~~~~~%";
    const QByteArray under = "^-_______%";
    if (reading.kind == SimReading::Kind::OverRange)
        return over;
    if (reading.kind == SimReading::Kind::UnderRange)
        return under;
    int decimals = qMax(reading.decimals, 0);
    QByteArray digits = FormatFixed(std::fabs(reading.value), decimals).toLatin1();
    while (digits.size() > width && decimals > 0)
        digits = FormatFixed(std::fabs(reading.value), --decimals).toLatin1();
    if (digits.size() > width)
        return reading.value < 0 ? under : over;
    const bool zero = ParseNumber(QString::fromLatin1(digits)) == 0;
    const char sign = reading.value < 0 && !zero ? '-' : '+';
    return '^' + QByteArray(1, sign) + digits.rightJustified(width, '0') + '%';
}
