// SPDX-License-Identifier: MIT
#include "core/metercheck/run/SelectSource.h"

#include "core/base/MessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"

namespace {

constexpr int currentRow = 4;
constexpr int ohm400Row = 5;
constexpr int ohm4000Row = 6;

// The point's nominal value as a number.
double NominalValue(const MeterCheckDoc& doc, const MeterPoint& point)
{
    return ParseNumber(point.Nominal(doc.method));
}

// The unit the nominal value is held in at this moment: the range's unit while the point waits
// for its measurement, the calibrator function's unit once it was measured.
const QString& HeldUnit(const MeterRange& range, const MeterPoint& point)
{
    return point.pointMeasured == 1 ? point.unit : range.rangeUnit;
}

// The smallest of the voltage rows 0-3 whose settable limits hold `volts` (limits included);
// the millivolt rows are compared in volts. -1 beyond the 12 V range.
int VoltageRow(double volts)
{
    for (int row = 0; row <= 3; ++row) {
        const CalFunction& f = CalFunctionTable[row];
        const double scale = f.unitText == QLatin1String("mV") ? 1000.0 : 1.0;
        if (f.lowLimit / scale <= volts && volts <= f.highLimit / scale)
            return row;
    }
    return -1;
}

// The 400 ohm row, or the 4000 ohm row when the largest marked point of the range lies above
// 400 ohm. Each value is taken in ohms once, from the unit it is held in.
int ResistanceRow(const MeterCheckDoc& doc, int rangeIndex)
{
    const MeterRange& range = doc.ranges[rangeIndex];
    const int defined = CountPoints(doc, rangeIndex);
    double largest = 0.0;
    for (int i = 0; i < defined; ++i) {
        const MeterPoint& p = range.points[i];
        if (p.marked != 1)
            continue;
        const double scale = HeldUnit(range, p) == QLatin1String("kOhm") ? 1000.0 : 1.0;
        largest = qMax(largest, NominalValue(doc, p) * scale);
    }
    return largest > CalFunctionTable[ohm400Row].highLimit ? ohm4000Row : ohm400Row;
}

int ChooseRow(const MeterCheckDoc& doc, int rangeIndex, int pointIndex, MessageService& messages)
{
    const MeterRange& range = doc.ranges[rangeIndex];
    const MeterPoint& point = range.points[pointIndex];
    switch (range.function) {
    case RangeFunction::Voltage: {
        if (range.rangeUnit != QLatin1String("mV") && range.rangeUnit != QLatin1String("V"))
            return -1;
        double volts = NominalValue(doc, point);
        if (HeldUnit(range, point) == QLatin1String("mV"))
            volts /= 1000.0;
        const int row = VoltageRow(volts);
        if (row < 0)
            messages.ShowError(QStringLiteral("Nastawa przekracza maksymalny zakres kalibratora."));
        return row;
    }
    case RangeFunction::Current:
        return currentRow;
    case RangeFunction::Resistance:
        return ResistanceRow(doc, rangeIndex);
    case RangeFunction::Thermocouple:
        return CalFunctions::FindBySensor(range.sensorName, CalFunctions::firstThermocouple,
                                          CalFunctions::lastThermocouple);
    case RangeFunction::Rtd:
        return CalFunctions::FindBySensor(range.sensorName,
                                          CalFunctions::firstResistanceThermometer,
                                          CalFunctions::lastResistanceThermometer);
    default:
        return -1;
    }
}

// To and RL go to the calibrator as they are stored. A text the range editor cannot have
// written (a damaged or foreign file) is sent as the number it reads as, so that nothing but
// a number ever follows the letter: a "%" or "^" in it would end or start a frame.
QString NumberForCommand(const QString& text)
{
    for (QChar c : text) {
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char('.'))
            return FormatFixed(ParseNumber(text), 1);
    }
    return text;
}

} // namespace

int SelectSourceForPoint(const MeterCheckDoc& doc, int range, int point, CommandSender& sender,
                         MessageService& messages)
{
    if (range < 0 || range >= maxRanges || point < 0 || point >= maxPoints)
        return -1;
    const MeterRange& r = doc.ranges[range];
    const int row = ChooseRow(doc, range, point, messages);
    if (row < 0)
        return -1;

    const QString select = CalFunctions::SelectCommand(row, int(r.coldJunction));
    if (!select.isEmpty())
        sender.Send(select);
    if (CalFunctions::IsThermocouple(row) && r.coldJunction == ColdJunction::To)
        sender.Send(QStringLiteral("T") + NumberForCommand(r.toValue));
    if (CalFunctions::IsResistanceThermometer(row) && !r.rlValue.isEmpty())
        sender.Send(QStringLiteral("R") + NumberForCommand(r.rlValue));
    return row;
}
