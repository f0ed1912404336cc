// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

#include <array>

struct MeterCheckDoc;

// What a chart of one range shows: built from the document, drawn by the chart pages.
struct ChartSeries
{
    QString legend;
    quint32 color = 0;    // 0xRRGGBB
    QList<double> values; // one per marked point, in slot order, in the range's unit
};

struct ChartData
{
    enum class Status
    {
        NotMeasured,    // the range was never measured: nothing is drawn
        NoMarkedPoints, // "Nie zaznaczono punktów do wykresu."
        Ready,
    };

    Status status = Status::NotMeasured;
    short optionA = 135;
    short optionB = 0; // 2 points chart (bars), 4 errors chart (lines with marks)
    int pointCount = 0;
    // 0 the value axis, 1 unused, 2 the main title, 3 "Zakres miernika: ..." under the chart.
    std::array<QString, 4> titles;
    double axisMin = 0;
    double axisMax = 0;
    double axisStep = 0;
    QList<ChartSeries> series;
};

namespace RangeCharts {

inline QString NoPointsMessage()
{
    return QStringLiteral("Nie zaznaczono punktów do wykresu.");
}
inline QString NoDataCaption()
{
    return QStringLiteral("Brak danych!");
}

// A point's value text as a number in its range's unit (empty or not a number: 0).
double ValueInRangeUnit(const QString& text, const QString& pointUnit, const QString& rangeUnit);

// Calibrator settings against meter indications of the marked points of a range.
ChartData PointsChart(const MeterCheckDoc& doc, int range);
// Actual errors of the marked points between plus and minus the permissible error.
ChartData ErrorsChart(const MeterCheckDoc& doc, int range);

} // namespace RangeCharts
