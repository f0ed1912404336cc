// SPDX-License-Identifier: MIT
#include "core/transducer/TransducerValidation.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/panel/MeasureRangeTable.h"

#include <cmath>

namespace {

TransducerProblem Refuse(TransducerField field, const QString& what)
{
    return {field, QStringLiteral("Pole „%1”: %2").arg(TransducerFieldName(field), what)};
}

bool Finite(double v)
{
    return std::isfinite(v);
}

// The limits of the source function, as the calibrator can set them.
TransducerProblem CheckInputValue(TransducerField field, double value, int function)
{
    const CalFunction& f = CalFunctionTable[function];
    if (!Finite(value) || value < f.lowLimit || value > f.highLimit) {
        const int decimals = DecimalsForFunction(function);
        return Refuse(field, QStringLiteral("wartość musi się mieścić w zakresie kalibratora "
                                            "%1 - %2 %3.")
                                 .arg(FormatFixed(f.lowLimit, decimals),
                                      FormatFixed(f.highLimit, decimals), f.unitText));
    }
    return {};
}

} // namespace

QString TransducerFieldName(TransducerField field)
{
    switch (field) {
    case TransducerField::None:
        return {};
    case TransducerField::InputFunction:
        return QStringLiteral("Funkcja wejścia");
    case TransducerField::ReferenceTemperature:
        return QStringLiteral("To");
    case TransducerField::LeadResistance:
        return QStringLiteral("RL");
    case TransducerField::InputLower:
        return QStringLiteral("Wejście LRV");
    case TransducerField::InputUpper:
        return QStringLiteral("Wejście URV");
    case TransducerField::OutputRange:
        return QStringLiteral("Zakres wyjścia");
    case TransducerField::OutputLower:
        return QStringLiteral("Wyjście LRV");
    case TransducerField::OutputUpper:
        return QStringLiteral("Wyjście URV");
    case TransducerField::Cutoff:
        return QStringLiteral("Odcięcie małych przepływów");
    case TransducerField::TolerancePercentOfSpan:
        return QStringLiteral("Tolerancja (% zakresu)");
    case TransducerField::TolerancePercentOfReading:
        return QStringLiteral("Tolerancja (% wartości)");
    case TransducerField::Points:
        return QStringLiteral("Punkty");
    case TransducerField::SettlingTime:
        return QStringLiteral("Czas ustalania");
    case TransducerField::Readings:
        return QStringLiteral("Liczba odczytów");
    }
    return {};
}

QStringList TransducerOutputRanges()
{
    return {QStringLiteral("50mV"), QStringLiteral("500mV"), QStringLiteral("2V"),
            QStringLiteral("25V"), QStringLiteral("22mA")};
}

TransducerProblem CheckTransducer(const TransducerDoc& doc)
{
    const TransducerInput& in = doc.input;
    if (!CalFunctions::IsValid(in.calFunction))
        return Refuse(TransducerField::InputFunction,
                      QStringLiteral("nieznana funkcja źródła kalibratora."));
    if (CalFunctions::IsThermocouple(in.calFunction) && in.coldJunction == ColdJunction::To &&
        (!Finite(in.referenceTemperature) || in.referenceTemperature < 0 ||
         in.referenceTemperature > 60))
        return Refuse(TransducerField::ReferenceTemperature,
                      QStringLiteral("wartość może mieścić się w zakresie 0.0 - 60.0 °C."));
    if (CalFunctions::IsResistanceThermometer(in.calFunction) && !in.leadResistance.isEmpty()) {
        bool ok = false;
        const double rl = in.leadResistance.toDouble(&ok);
        if (!ok || rl < 0 || rl > 55)
            return Refuse(TransducerField::LeadResistance,
                          QStringLiteral("wartość może mieścić się w zakresie 0.0 - 55.0 Ohm."));
    }
    if (TransducerProblem p =
            CheckInputValue(TransducerField::InputLower, in.lower, in.calFunction);
        !p.IsNone())
        return p;
    if (TransducerProblem p =
            CheckInputValue(TransducerField::InputUpper, in.upper, in.calFunction);
        !p.IsNone())
        return p;
    const int inputDecimals = DecimalsForFunction(in.calFunction);
    if (FormatFixed(in.lower, inputDecimals) == FormatFixed(in.upper, inputDecimals))
        return Refuse(TransducerField::InputUpper,
                      QStringLiteral("wartość URV nie może być równa LRV."));

    const MeasureRange* range = MeasureRangeTable::Find(doc.output.measureRange);
    if (!range || !TransducerOutputRanges().contains(doc.output.measureRange))
        return Refuse(TransducerField::OutputRange,
                      QStringLiteral("wyjście można mierzyć tylko na zakresie napięcia "
                                     "albo prądu."));
    if (!Finite(doc.output.lower))
        return Refuse(TransducerField::OutputLower, QStringLiteral("błędna wartość."));
    if (!Finite(doc.output.upper))
        return Refuse(TransducerField::OutputUpper, QStringLiteral("błędna wartość."));
    if (FormatFixed(doc.output.lower, range->decimals) ==
        FormatFixed(doc.output.upper, range->decimals))
        return Refuse(TransducerField::OutputUpper,
                      QStringLiteral("wartość URV nie może być równa LRV."));

    if (doc.transfer == TransferFunction::SquareRoot &&
        (!Finite(doc.lowFlowCutoffPercent) || doc.lowFlowCutoffPercent < 0 ||
         doc.lowFlowCutoffPercent > 100))
        return Refuse(TransducerField::Cutoff,
                      QStringLiteral("wartość musi się mieścić w zakresie 0 - 100 %."));
    if (!Finite(doc.tolerance.percentOfSpan) || doc.tolerance.percentOfSpan <= 0)
        return Refuse(TransducerField::TolerancePercentOfSpan,
                      QStringLiteral("tolerancja musi być większa od zera."));
    if (!Finite(doc.tolerance.percentOfReading) || doc.tolerance.percentOfReading < 0)
        return Refuse(TransducerField::TolerancePercentOfReading,
                      QStringLiteral("wartość nie może być ujemna."));

    if (doc.points.isEmpty())
        return Refuse(TransducerField::Points, QStringLiteral("nie podano punktów."));
    if (doc.points.size() > TransducerLimits::maxPoints)
        return Refuse(
            TransducerField::Points,
            QStringLiteral("można podać najwyżej %1 punktów.").arg(TransducerLimits::maxPoints));
    for (double p : doc.points) {
        if (!Finite(p) || p < 0 || p > 100)
            return Refuse(TransducerField::Points,
                          QStringLiteral("punkt %1 % leży poza zakresem 0 - 100 %.")
                              .arg(Finite(p) ? QString::number(p) : QStringLiteral("?")));
    }

    if (!Finite(doc.settlingSeconds) || doc.settlingSeconds < 0 ||
        doc.settlingSeconds > TransducerLimits::maxSettlingSeconds)
        return Refuse(TransducerField::SettlingTime,
                      QStringLiteral("wartość może mieścić się w zakresie 0 - %1 s.")
                          .arg(TransducerLimits::maxSettlingSeconds));
    if (doc.readingsAveraged < 1 || doc.readingsAveraged > TransducerLimits::maxReadingsAveraged)
        return Refuse(TransducerField::Readings,
                      QStringLiteral("wartość może mieścić się w zakresie 1 - %1.")
                          .arg(TransducerLimits::maxReadingsAveraged));
    return {};
}
