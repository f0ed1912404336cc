// SPDX-License-Identifier: MIT
#include "core/metercheck/report/ChartData.h"

#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <cmath>
#include <functional>
#include <limits>

namespace RangeCharts {

namespace {

// The series colours, as 0xRRGGBB.
constexpr quint32 yellow = 0xFFFF00;
constexpr quint32 red = 0xFF0000;
constexpr quint32 green = 0x00FF00;

using PointValue = std::function<double(const MeterPoint&)>;

// A chart draws finite numbers only: a value that overflowed (a damaged file can hold
// "9e99999") is drawn at the largest number of its sign.
double Finite(double value)
{
    if (std::isfinite(value))
        return value;
    return std::isnan(value) ? 0.0 : std::copysign(std::numeric_limits<double>::max(), value);
}

struct ChartKind
{
    short optionB;
    QString axisText;
    QString titleText;
    QList<std::pair<QString, quint32>> legends;
    QList<PointValue> seriesValues;
    QList<PointValue> maxCandidates;
    QList<PointValue> minCandidates;
};

ChartData Build(const MeterCheckDoc& doc, int range, const ChartKind& kind)
{
    ChartData chart;
    if (range < 0 || range >= maxRanges)
        return chart;
    const MeterRange& r = doc.ranges[range];
    if (r.rangeMeasured != 1)
        return chart;

    QList<const MeterPoint*> marked;
    for (const MeterPoint& p : r.points)
        if (p.marked == 1)
            marked << &p;
    // The value axis always includes 0.
    double max = 0;
    double min = 0;
    for (const MeterPoint* p : marked) {
        for (const PointValue& v : kind.maxCandidates)
            max = std::max(max, v(*p));
        for (const PointValue& v : kind.minCandidates)
            min = std::min(min, v(*p));
    }
    if (marked.isEmpty()) {
        chart.status = ChartData::Status::NoMarkedPoints;
        return chart;
    }

    chart.status = ChartData::Status::Ready;
    chart.optionB = kind.optionB;
    chart.pointCount = int(marked.size());
    chart.titles[0] = kind.axisText + r.rangeUnit + QStringLiteral("]");
    chart.titles[2] = kind.titleText + QStringLiteral("Miernik: ") + doc.meterName +
                      QStringLiteral("; ") + QStringLiteral("Nr: ") + doc.meterNumber;
    chart.titles[3] =
        QStringLiteral("Zakres miernika: ") + r.rangeValue + QStringLiteral(" ") + r.rangeUnit;
    chart.axisMin = Finite(min * 1.07);
    chart.axisMax = Finite(max * 1.07);
    const double span = max - min;
    chart.axisStep = std::isfinite(span) ? std::fabs(span) * 0.1 : max * 0.1 - min * 0.1;
    for (qsizetype s = 0; s < kind.legends.size(); ++s) {
        ChartSeries series{kind.legends[s].first, kind.legends[s].second, {}};
        for (const MeterPoint* p : marked)
            series.values << kind.seriesValues[s](*p);
        chart.series << series;
    }
    return chart;
}

} // namespace

double ValueInRangeUnit(const QString& text, const QString& pointUnit, const QString& rangeUnit)
{
    const double value = ParseNumber(text);
    if (rangeUnit == QLatin1String("mV") && pointUnit == QLatin1String("V"))
        return Finite(value * 1000.0);
    if (rangeUnit == QLatin1String("V") && pointUnit == QLatin1String("mV"))
        return value * 0.001;
    if (rangeUnit == QLatin1String("kOhm") && pointUnit == QLatin1String("Ohm"))
        return value * 0.001;
    return value;
}

ChartData PointsChart(const MeterCheckDoc& doc, int range)
{
    if (range < 0 || range >= maxRanges)
        return {};
    const QString unit = doc.ranges[range].rangeUnit;
    const PointValue setting = [unit](const MeterPoint& p) {
        return ValueInRangeUnit(p.setting, p.unit, unit);
    };
    const PointValue reading = [unit](const MeterPoint& p) {
        return ValueInRangeUnit(p.reading, p.unit, unit);
    };
    return Build(doc, range,
                 {2,
                  QStringLiteral("Wartości w punktach pomiarowych ["),
                  QStringLiteral("Wykres punktów pomiarowych;  "),
                  {{QStringLiteral("Nastawa kalibratora"), yellow},
                   {QStringLiteral("Wskazanie miernika"), red}},
                  {setting, reading},
                  {reading, setting},
                  {reading, setting}});
}

ChartData ErrorsChart(const MeterCheckDoc& doc, int range)
{
    if (range < 0 || range >= maxRanges)
        return {};
    const QString unit = doc.ranges[range].rangeUnit;
    const PointValue actual = [unit](const MeterPoint& p) {
        return ValueInRangeUnit(p.actualError, p.unit, unit);
    };
    const PointValue plus = [unit](const MeterPoint& p) {
        return ValueInRangeUnit(p.permissibleError, p.unit, unit);
    };
    const PointValue minus = [plus](const MeterPoint& p) { return -plus(p); };
    return Build(doc, range,
                 {4,
                  QStringLiteral("Wartości błędów ["),
                  QStringLiteral("Wykres błędów;  "),
                  {{QStringLiteral("Błąd rzeczywisty"), red},
                   {QStringLiteral("+ błąd dopuszczalny"), green},
                   {QStringLiteral("- błąd dopuszczalny"), green}},
                  {actual, plus, minus},
                  {actual, plus},
                  {actual, minus}});
}

} // namespace RangeCharts
