// SPDX-License-Identifier: MIT
#include "core/metercheck/report/ReportTexts.h"

#include "core/metercheck/document/MeterCheckDoc.h"

QString MethodText(CheckMethod method)
{
    switch (method) {
    case CheckMethod::ExactSetting:
        return QStringLiteral("Metoda dokładnej nastawy");
    case CheckMethod::ExactReading:
        return QStringLiteral("Metoda dokładnego odczytu");
    default:
        return QString();
    }
}

QString ClassText(const MeterRange& range)
{
    QString text = QStringLiteral("Klasa: ");
    if (!range.classReading.isEmpty())
        text += range.classReading + QStringLiteral("% wartości mierzonej, ");
    if (!range.classRange.isEmpty())
        text += range.classRange + QStringLiteral("% zakresu");
    if (!range.constTerm.isEmpty())
        text += QStringLiteral(" + ") + range.constTerm + range.constUnit;
    return text;
}

QString SensorText(const MeterRange& range)
{
    if (range.sensorName.isEmpty())
        return QString();
    QString text = QStringLiteral("Czujnik: ") + range.sensorName;
    if (range.function == RangeFunction::Thermocouple) {
        switch (range.coldJunction) {
        case ColdJunction::Tex:
            text += QStringLiteral(" [Tex]");
            break;
        case ColdJunction::Tin:
            text += QStringLiteral(" [Tin]");
            break;
        case ColdJunction::To:
            text += QStringLiteral("; [To=") + range.toValue + QStringLiteral(" °C]");
            break;
        default:
            break;
        }
    } else if (range.function == RangeFunction::Rtd && !range.rlValue.isEmpty()) {
        text += QStringLiteral("; [RL=") + range.rlValue + QStringLiteral(" Ohm]");
    }
    return text;
}
