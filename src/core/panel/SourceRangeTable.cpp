// SPDX-License-Identifier: MIT
#include "core/panel/SourceRangeTable.h"

#include "core/link/NumberText.h"

namespace {

SourceRange Row(const char* name, const char* format, const char* unit, double max, double min,
                int decimals, SourceFamily family, QStringList codes)
{
    return {QString::fromUtf8(name),
            QString::fromUtf8(format),
            QString::fromUtf8(unit),
            max,
            min,
            decimals,
            family,
            codes};
}

QList<SourceRange> BuildTable()
{
    const auto R = SourceFamily::Range;
    const auto T = SourceFamily::Thermocouple;
    const auto P = SourceFamily::Rtd;
    return {
        Row("50mV", "0.000", "mV", 55, -55, 3, R, {"C01"}),
        Row("500mV", "0.00", "mV", 550, -550, 2, R, {"C02"}),
        Row("2V", "0.0000", "V", 2.75, -2.75, 4, R, {"C03"}),
        Row("12V", "0.000", "V", 13.2, -13.2, 3, R, {"C05"}),
        Row("Uauto", "0.000", "mV", 55, -55, 3, R, {"C00"}),
        Row("22mA", "0.000", "mA", 24.2, -24.2, 3, R, {"C06"}),
        Row("400", "0.00", "Ohm", 400, 0, 2, R, {"C120"}),
        Row("4000", "0.0", "Ohm", 4000, 0, 1, R, {"C121"}),
        Row("R (PtRh13-Pt)", "0.0", "°C", 1768, -50, 1, T, {"C63", "C43", "C23"}),
        Row("S (PtRh10-Pt)", "0.0", "°C", 1769, -50, 1, T, {"C60", "C40", "C20"}),
        Row("B (PtRh30-PtRh6)", "0.0", "°C", 1820, -200, 1, T, {"C65", "C45", "C25"}),
        Row("J (Fe-CuNi)", "0.0", "°C", 950, -210, 1, T, {"C61", "C41", "C21"}),
        Row("T (Cu-CuNi)", "0.0", "°C", 400, -270, 1, T, {"C64", "C44", "C24"}),
        Row("E (NiCr-CuNi)", "0.0", "°C", 700, -50, 1, T, {"C66", "C46", "C26"}),
        Row("K (NiCr-NiAl)", "0.0", "°C", 1370, -270, 1, T, {"C62", "C42", "C22"}),
        Row("Pt100 (385)", "0.00", "°C", 850, -200, 2, P, {"C82"}),
        Row("Pt100 (391)", "0.00", "°C", 850, -200, 2, P, {"C83"}),
        Row("Pt500", "0.0", "°C", 850, -200, 1, P, {"C85"}),
        Row("Pt1000", "0.0", "°C", 850, -200, 1, P, {"C86"}),
        Row("Cu100", "0.0", "°C", 180, -60, 1, P, {"C102"}),
        Row("Ni100", "0.0", "°C", 180, -60, 1, P, {"C90"}),
    };
}

QStringList NamesOf(SourceFamily family)
{
    QStringList names;
    for (const SourceRange& row : SourceRangeTable())
        if (row.family == family)
            names << row.name;
    return names;
}

} // namespace

const QList<SourceRange>& SourceRangeTable()
{
    static const QList<SourceRange> table = BuildTable();
    return table;
}

const SourceRange* FindSourceRange(const QString& name)
{
    for (const SourceRange& row : SourceRangeTable())
        if (row.name == name)
            return &row;
    return nullptr;
}

const QStringList& ThermocoupleNames()
{
    static const QStringList names = NamesOf(SourceFamily::Thermocouple);
    return names;
}

const QStringList& RtdNames()
{
    static const QStringList names = NamesOf(SourceFamily::Rtd);
    return names;
}

const QList<SourceRadio>& SourceRadios()
{
    static const QList<SourceRadio> radios = {
        {QStringLiteral("50mV"), QStringLiteral("50 mV")},
        {QStringLiteral("500mV"), QStringLiteral("500 mV")},
        {QStringLiteral("2V"), QStringLiteral("2 V")},
        {QStringLiteral("12V"), QStringLiteral("12 V")},
        {QStringLiteral("Uauto"), QStringLiteral("Uauto")},
        {QStringLiteral("22mA"), QStringLiteral("22 mA")},
        {QStringLiteral("400"), QStringLiteral("400 Ohm")},
        {QStringLiteral("4000"), QStringLiteral("4000 Ohm")},
    };
    return radios;
}

QStringList SourceSelectionCommands(const SourceRange& row, ColdJunction coldJunction,
                                    double toValue, bool rlOn, double rl)
{
    QStringList commands;
    if (row.family == SourceFamily::Thermocouple)
        commands << row.codes.value(int(coldJunction));
    else
        commands << row.codes.value(0);
    commands << QStringLiteral("N+") + row.format;
    if (row.family == SourceFamily::Thermocouple && coldJunction == ColdJunction::To)
        commands << QStringLiteral("T") + FormatFixed(toValue, 2);
    if (row.family == SourceFamily::Rtd && rlOn)
        commands << QStringLiteral("R") + FormatFixed(rl, 2);
    return commands;
}
