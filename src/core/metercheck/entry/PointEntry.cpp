// SPDX-License-Identifier: MIT
#include "core/metercheck/entry/PointEntry.h"

#include "core/base/MessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <QRegularExpression>

#include <cmath>

PointEntry::PointEntry(const MeterRange& range, CheckMethod method, MessageService& messages,
                       QObject* owner)
    : editedRange(range), checkMethod(method), messages(messages), messageOwner(owner)
{}

QString PointEntry::Title()
{
    return QStringLiteral("Dodawanie punktu pomiarowego");
}

QString PointEntry::Caption(CheckMethod method)
{
    return method == CheckMethod::ExactReading ? QStringLiteral("Wskazanie miernika")
                                               : QStringLiteral("Nastawa kalibratora");
}

QString PointEntry::NominalValue(const MeterPoint& point, CheckMethod method)
{
    return point.Nominal(method);
}

std::optional<PointEntry::Limits> PointEntry::LimitsFor(const MeterRange& range)
{
    int row = -1;
    switch (range.function) {
    case RangeFunction::Voltage:
        row = 3;
        break;
    case RangeFunction::Current:
        row = 4;
        break;
    case RangeFunction::Resistance:
        row = 6;
        break;
    case RangeFunction::Thermocouple:
        row = CalFunctions::FindBySensor(range.sensorName, CalFunctions::firstThermocouple,
                                         CalFunctions::lastThermocouple);
        break;
    case RangeFunction::Rtd:
        row = CalFunctions::FindBySensor(range.sensorName, CalFunctions::firstResistanceThermometer,
                                         CalFunctions::lastResistanceThermometer);
        break;
    default:
        break;
    }
    if (!CalFunctions::IsValid(row))
        return std::nullopt;
    Limits limits{CalFunctionTable[row].lowLimit, CalFunctionTable[row].highLimit};
    if (range.rangeUnit == QLatin1String("mV")) {
        limits.low *= 1000;
        limits.high *= 1000;
    } else if (range.rangeUnit == QLatin1String("kOhm")) {
        limits.low *= 0.001;
        limits.high *= 0.001;
    }
    return limits;
}

PointEntry::Outcome PointEntry::Refuse(const QString& message, bool keepText)
{
    keepsText = keepText;
    messages.ShowError(message, messageOwner);
    return Outcome::Refused;
}

PointEntry::Outcome PointEntry::Check(const QString& typed)
{
    enteredValue.clear();
    keepsText = false;
    if (typed.isEmpty())
        return Outcome::Empty;

    const QString wrongPoint = QStringLiteral("Błędnie podany punkt pomiarowy.");
    for (QChar c : typed)
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char('.') &&
            c != QLatin1Char(',') && c != QLatin1Char('-'))
            return Refuse(wrongPoint, false);
    QString text = typed;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    // The right characters in a wrong order ("--5", "1-2", "1.2.3") are no number either.
    static const QRegularExpression number(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(text).hasMatch())
        return Refuse(wrongPoint, false);

    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 1 : int(text.size() - point - 1);
    const double v = ParseNumber(text);

    // The limits themselves are accepted; the margin only absorbs the scaling's rounding.
    const std::optional<Limits> limits = LimitsFor(editedRange);
    const auto margin = [](double limit) { return 1e-9 * std::max(1.0, std::fabs(limit)); };
    if (!limits || v > limits->high + margin(limits->high) || v < limits->low - margin(limits->low))
        return Refuse(QStringLiteral("Podana nastawa nie mieści się w zakresie kalibratora."),
                      false);

    // Only 7 characters fit the file: trailing zero decimals give way (13200.00 is kept as
    // 13200.0, -13200.0 as -13200); a value that needs more characters is refused.
    QString formatted = FormatFixed(v, decimals);
    bool chopped = false;
    while (formatted.size() > maxValueLength && formatted.contains(QLatin1Char('.')) &&
           (formatted.endsWith(QLatin1Char('0')) || formatted.endsWith(QLatin1Char('.')))) {
        const bool point = formatted.endsWith(QLatin1Char('.'));
        formatted.chop(1);
        chopped = true;
        if (point)
            break;
    }
    if (chopped && formatted.endsWith(QLatin1Char('.')))
        formatted.chop(1);
    // More decimals than a number text holds (17) are rounded away by FormatFixed, and only
    // zeros may give way: a pasted 0.000…00018 must not turn into 0.00000.
    if (formatted.size() > maxValueLength || ParseNumber(formatted) != v)
        return Refuse(QStringLiteral("Punkt pomiarowy może mieć najwyżej 7 znaków "
                                     "(razem z kropką i znakiem minus)."),
                      true);
    enteredValue = formatted;
    return Outcome::Accepted;
}

void PointEntry::StoreInto(MeterPoint& point) const
{
    point.Nominal(checkMethod) = enteredValue;
    point.unit = editedRange.rangeUnit;
    point.pointDefined = 1;
    point.marked = 1;
}
