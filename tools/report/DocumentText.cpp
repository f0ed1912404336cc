// SPDX-License-Identifier: MIT
#include "DocumentText.h"

#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/report/ReportTexts.h"
#include "core/metercheck/run/PointErrors.h"

#include <QJsonArray>
#include <QStringList>

namespace {

QString QuantityText(RangeFunction function)
{
    switch (function) {
    case RangeFunction::Voltage:
        return QStringLiteral("napięcie");
    case RangeFunction::Current:
        return QStringLiteral("prąd");
    case RangeFunction::Resistance:
        return QStringLiteral("rezystancja");
    case RangeFunction::Thermocouple:
        return QStringLiteral("temperatura (termopara)");
    case RangeFunction::Rtd:
        return QStringLiteral("temperatura (czujnik rezystancyjny)");
    }
    return QStringLiteral("nieznana (%1)").arg(qint16(function));
}

QString YesNo(bool b)
{
    return b ? QStringLiteral("tak") : QStringLiteral("nie");
}

QString Row(const QStringList& cells)
{
    static const int widths[] = {4, 11, 11, 12, 12, 11, 6, 4, 9};
    QString line;
    for (int i = 0; i < cells.size(); ++i)
        line += cells[i].leftJustified(widths[i]) + QLatin1Char(' ');
    return line.trimmed();
}

} // namespace

QString DocumentListing(const MeterCheckDoc& d, const QString& fileName)
{
    QStringList lines;
    lines << QStringLiteral("Plik: ") + fileName;
    lines << QStringLiteral("Nazwa miernika: ") + d.meterName;
    lines << QStringLiteral("Numer miernika: ") + d.meterNumber;
    lines << QStringLiteral("Metoda: ") + (MethodText(d.method).isEmpty()
                                               ? QString::number(int(d.method))
                                               : MethodText(d.method));
    const int n = CountRanges(d);
    lines << QStringLiteral("Zakresy: %1").arg(n);
    for (int i = 0; i < n; ++i) {
        const MeterRange& r = d.ranges[i];
        lines << QString();
        lines << QStringLiteral("Zakres %1: %2 %3").arg(i + 1).arg(r.rangeValue, r.rangeUnit);
        lines << QStringLiteral("  Wielkość: ") + QuantityText(r.function);
        lines << QStringLiteral("  Funkcja kalibratora: %1").arg(r.calFunction);
        if (!r.sensorName.isEmpty())
            lines << QStringLiteral("  ") + SensorText(r);
        lines << QStringLiteral("  ") + ClassText(r);
        lines << QStringLiteral("  Zmierzony: ") + YesNo(r.rangeMeasured == 1);
        const int m = CountPoints(d, i);
        lines << QStringLiteral("  Punkty: %1").arg(m);
        if (m == 0)
            continue;
        lines << QStringLiteral("  ") + Row({"Nr", "Wskazanie", "Nastawa", "Błąd rzecz.",
                                             "Błąd dop.", "Błąd kal.", "j.m.", "ON", "Zmierzony"});
        for (int j = 0; j < m; ++j) {
            const MeterPoint& p = r.points[j];
            const QString actual = p.actualError + (ErrorExceedsPermissible(p) ? "*" : "");
            lines << QStringLiteral("  ") +
                         Row({QString::number(j + 1), p.reading, p.setting, actual,
                              p.permissibleError, p.calibratorError, p.unit,
                              p.marked == 1 ? "+" : "", YesNo(p.pointMeasured == 1)});
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QJsonObject DocumentJson(const MeterCheckDoc& d, const QString& fileName)
{
    QJsonArray ranges;
    for (int i = 0; i < CountRanges(d); ++i) {
        const MeterRange& r = d.ranges[i];
        QJsonArray points;
        for (int j = 0; j < CountPoints(d, i); ++j) {
            const MeterPoint& p = r.points[j];
            points.append(QJsonObject{
                {"number", j + 1},
                {"reading", p.reading},
                {"setting", p.setting},
                {"actualError", p.actualError},
                {"permissibleError", p.permissibleError},
                {"calibratorError", p.calibratorError},
                {"unit", p.unit},
                {"marked", p.marked == 1},
                {"pointMeasured", p.pointMeasured == 1},
                {"exceeds", ErrorExceedsPermissible(p)},
            });
        }
        ranges.append(QJsonObject{
            {"number", i + 1},
            {"rangeValue", r.rangeValue},
            {"rangeUnit", r.rangeUnit},
            {"sensorName", r.sensorName},
            {"function", int(r.function)},
            {"calFunction", r.calFunction},
            {"coldJunction", int(r.coldJunction)},
            {"toValue", r.toValue},
            {"rlValue", r.rlValue},
            {"classReading", r.classReading},
            {"classRange", r.classRange},
            {"constTerm", r.constTerm},
            {"constUnit", r.constUnit},
            {"rangeMeasured", r.rangeMeasured == 1},
            {"points", points},
        });
    }
    return QJsonObject{
        {"file", fileName},         {"formatVersion", d.formatVersion},
        {"meterName", d.meterName}, {"meterNumber", d.meterNumber},
        {"method", int(d.method)},  {"methodText", MethodText(d.method)},
        {"ranges", ranges},
    };
}
