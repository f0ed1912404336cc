// SPDX-License-Identifier: MIT
#include "core/panel/MeasureRangeTable.h"

namespace MeasureRangeTable {

const QList<MeasureRange>& Rows()
{
    static const QList<MeasureRange> rows = {
        {QStringLiteral("50mV"), QStringLiteral("0.000"), QStringLiteral("mV"), 3,
         QStringLiteral("M01")},
        {QStringLiteral("500mV"), QStringLiteral("0.00"), QStringLiteral("mV"), 2,
         QStringLiteral("M02")},
        {QStringLiteral("2V"), QStringLiteral("0.0000"), QStringLiteral("V"), 4,
         QStringLiteral("M03")},
        {QStringLiteral("25V"), QStringLiteral("0.000"), QStringLiteral("V"), 3,
         QStringLiteral("M04")},
        {QStringLiteral("Uauto"), QStringLiteral("0.000"), QStringLiteral("mV"), 3,
         QStringLiteral("M00")},
        {QStringLiteral("22mA"), QStringLiteral("0.000"), QStringLiteral("mA"), 3,
         QStringLiteral("M06")},
        {QStringLiteral("400"), QStringLiteral("0.00"), QStringLiteral("Ohm"), 2,
         QStringLiteral("M120")},
        {QStringLiteral("4000"), QStringLiteral("0.0"), QStringLiteral("Ohm"), 1,
         QStringLiteral("M121")},
        {QStringLiteral("frequency"), QStringLiteral("0.000"), QStringLiteral("Hz"), 3,
         QStringLiteral("M130")},
        {QStringLiteral("Tex"), QStringLiteral("0.000"), QStringLiteral("°C"), 1,
         QStringLiteral("M131")},
        // Thermocouples: the source code for the internal reference junction, M for C.
        {QStringLiteral("R (PtRh13-Pt)"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M43")},
        {QStringLiteral("S (PtRh10-Pt)"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M40")},
        {QStringLiteral("B (PtRh30-PtRh6)"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M45")},
        {QStringLiteral("J (Fe-CuNi)"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M41")},
        {QStringLiteral("T (Cu-CuNi)"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M44")},
        {QStringLiteral("E (NiCr-CuNi)"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M46")},
        {QStringLiteral("K (NiCr-NiAl)"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M42")},
        // Resistance thermometers: the source code, M for C.
        {QStringLiteral("Pt100 (385)"), QStringLiteral("0.00"), QStringLiteral("°C"), 2,
         QStringLiteral("M82")},
        {QStringLiteral("Pt100 (391)"), QStringLiteral("0.00"), QStringLiteral("°C"), 2,
         QStringLiteral("M83")},
        {QStringLiteral("Pt500"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M85")},
        {QStringLiteral("Pt1000"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M86")},
        {QStringLiteral("Cu100"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M102")},
        {QStringLiteral("Ni100"), QStringLiteral("0.0"), QStringLiteral("°C"), 1,
         QStringLiteral("M90")},
    };
    return rows;
}

const MeasureRange* Find(const QString& name)
{
    for (const MeasureRange& row : Rows()) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

const QList<RangeRadio>& RangeRadios()
{
    static const QList<RangeRadio> radios = {
        {QStringLiteral("50 mV"), QStringLiteral("50mV")},
        {QStringLiteral("500 mV"), QStringLiteral("500mV")},
        {QStringLiteral("2 V"), QStringLiteral("2V")},
        {QStringLiteral("25 V"), QStringLiteral("25V")},
        {QStringLiteral("Uauto"), QStringLiteral("Uauto")},
        {QStringLiteral("22 mA"), QStringLiteral("22mA")},
        {QStringLiteral("400 Ohm"), QStringLiteral("400")},
        {QStringLiteral("4000 Ohm"), QStringLiteral("4000")},
        {QStringLiteral("f"), QStringLiteral("frequency")},
        {QStringLiteral("Tex"), QStringLiteral("Tex")},
    };
    return radios;
}

} // namespace MeasureRangeTable
