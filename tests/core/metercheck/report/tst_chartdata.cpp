// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/metercheck/report/ChartData.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include "DocumentBuilder.h"

#include <QTest>

namespace {

struct PointValues
{
    QString setting;
    QString reading;
    QString actual;
    QString permissible;
    QString unit;
    bool marked = true;
};

} // namespace

class TestChartData : public QObject
{
    Q_OBJECT

    MeterCheckDoc doc;

    // Range 0 of meter M1 number 7, measured, with the given points (all defined, and measured
    // unless their setting is empty).
    void MeasuredRange(const QString& value, const QString& unit, const QList<PointValues>& points)
    {
        doc = MeterCheckDoc();
        DocumentBuilder b(doc);
        b.Meter("M1", "7").Range(0, RangeFunction::Voltage, value, unit).Measured();
        for (const PointValues& v : points)
            b.Point(MakePoint(v.reading, v.setting, v.actual, v.permissible, "", v.unit, v.marked,
                              !v.setting.isEmpty()));
    }

private slots:
    void pointsChartOf400mVRange()
    {
        MeasuredRange("400", "mV",
                      {{"100.00", "100.20", "0.20", "0.50", "mV"},
                       {"200.00", "201.00", "1.00", "0.60", "mV", false},
                       {"350.00", "349.50", "-0.50", "0.75", "mV"}});
        const ChartData c = RangeCharts::PointsChart(doc, 0);
        QCOMPARE(c.status, ChartData::Status::Ready);
        QCOMPARE(c.optionA, short(135));
        QCOMPARE(c.optionB, short(2));
        QCOMPARE(c.pointCount, 2);
        QCOMPARE(c.axisMin, 0.0);
        QCOMPARE(c.axisMax, 374.5);
        QCOMPARE(c.axisStep, 35.0);
        QCOMPARE(c.titles[0], "Wartości w punktach pomiarowych [mV]");
        QCOMPARE(c.titles[1], "");
        QCOMPARE(c.titles[2], "Wykres punktów pomiarowych;  Miernik: M1; Nr: 7");
        QCOMPARE(c.titles[3], "Zakres miernika: 400 mV");
        QCOMPARE(c.series.size(), 2);
        QCOMPARE(c.series[0].legend, "Nastawa kalibratora");
        QCOMPARE(c.series[0].color, 0xFFFF00u); // yellow
        QCOMPARE(c.series[0].values, QList<double>({100.0, 350.0}));
        QCOMPARE(c.series[1].legend, "Wskazanie miernika");
        QCOMPARE(c.series[1].color, 0xFF0000u); // red
        QCOMPARE(c.series[1].values, QList<double>({100.2, 349.5}));
    }

    void errorsChartExample()
    {
        MeasuredRange("10", "V",
                      {{"1.000", "0.800", "-0.2", "0.4", "V"},
                       {"5.000", "5.300", "0.3", "0.5", "V"},
                       {"9.000", "9.100", "0.1", "0.45", "V"}});
        const ChartData c = RangeCharts::ErrorsChart(doc, 0);
        QCOMPARE(c.status, ChartData::Status::Ready);
        QCOMPARE(c.optionB, short(4));
        QCOMPARE(c.pointCount, 3);
        QCOMPARE(c.axisMin, -0.535);
        QCOMPARE(c.axisMax, 0.535);
        QVERIFY(qFuzzyCompare(c.axisStep, 0.1));
        QCOMPARE(c.titles[0], "Wartości błędów [V]");
        QCOMPARE(c.titles[2], "Wykres błędów;  Miernik: M1; Nr: 7");
        QCOMPARE(c.titles[3], "Zakres miernika: 10 V");
        QCOMPARE(c.series.size(), 3);
        QCOMPARE(c.series[0].legend, "Błąd rzeczywisty");
        QCOMPARE(c.series[0].color, 0xFF0000u); // red
        QCOMPARE(c.series[0].values, QList<double>({-0.2, 0.3, 0.1}));
        QCOMPARE(c.series[1].legend, "+ błąd dopuszczalny");
        QCOMPARE(c.series[1].color, 0x00FF00u); // green
        QCOMPARE(c.series[1].values, QList<double>({0.4, 0.5, 0.45}));
        QCOMPARE(c.series[2].legend, "- błąd dopuszczalny");
        QCOMPARE(c.series[2].color, 0x00FF00u); // green
        QCOMPARE(c.series[2].values, QList<double>({-0.4, -0.5, -0.45}));
    }

    void axisAlwaysIncludesZero_data()
    {
        DataColumns<QStringList, double, double, double>("settings", "min", "max", "step");
        DataRow("only positive", QStringList{"10.0", "20.0"}, 0.0, 21.4, 2.0);
        DataRow("only negative", QStringList{"-10.0", "-20.0"}, -21.4, 0.0, 2.0);
        DataRow("both signs", QStringList{"-10.0", "20.0"}, -10.7, 21.4, 3.0);
    }
    void axisAlwaysIncludesZero()
    {
        QFETCH(QStringList, settings);
        QList<PointValues> points;
        for (const QString& s : settings)
            points.append({s, s, "0.0", "0.1", "°C"});
        MeasuredRange("100", "°C", points);
        const ChartData c = RangeCharts::PointsChart(doc, 0);
        QTEST(c.axisMin, "min");
        QTEST(c.axisMax, "max");
        QFETCH(double, step);
        QVERIFY(qFuzzyCompare(c.axisStep, step));
    }

    void markedUnmeasuredPointCountsZero()
    {
        MeasuredRange("20", "mA",
                      {{"4.000", "4.010", "0.010", "0.030", "mA"}, {"", "", "", "", ""}});
        doc.ranges[0].points[1].setting.clear(); // never measured, but marked
        const ChartData errors = RangeCharts::ErrorsChart(doc, 0);
        QCOMPARE(errors.pointCount, 2);
        QCOMPARE(errors.series[0].values, QList<double>({0.01, 0.0}));
        QCOMPARE(errors.series[1].values, QList<double>({0.03, 0.0}));
        QCOMPARE(errors.series[2].values, QList<double>({-0.03, -0.0}));
        const ChartData points = RangeCharts::PointsChart(doc, 0);
        QCOMPARE(points.series[0].values, QList<double>({4.0, 0.0}));
    }

    void pointsInAnotherUnitAreConverted_data()
    {
        DataColumns<QString, QString, QString, double>("rangeUnit", "pointUnit", "setting",
                                                       "value");
        DataRow("V range, point in mV", "V", "mV", "50.000", 0.05);
        DataRow("mV range, point in V", "mV", "V", "1.5000", 1500.0);
        DataRow("kOhm range, point in Ohm", "kOhm", "Ohm", "3500.0", 3.5);
        DataRow("same unit", "Ohm", "Ohm", "350.0", 350.0);
        DataRow("not a number", "V", "V", "abc", 0.0);
    }
    void pointsInAnotherUnitAreConverted()
    {
        QFETCH(QString, rangeUnit);
        QFETCH(QString, pointUnit);
        QFETCH(QString, setting);
        QFETCH(double, value);
        MeasuredRange("2", rangeUnit, {{setting, setting, "0", "0", pointUnit}});
        QCOMPARE(RangeCharts::PointsChart(doc, 0).series[0].values.at(0), value);
    }

    void nothingToDraw()
    {
        MeasuredRange("400", "mV", {{"100.00", "100.20", "0.20", "0.50", "mV", false}});
        QCOMPARE(RangeCharts::PointsChart(doc, 0).status, ChartData::Status::NoMarkedPoints);
        QCOMPARE(RangeCharts::ErrorsChart(doc, 0).status, ChartData::Status::NoMarkedPoints);
        doc.ranges[0].points[0].marked = 1;
        doc.ranges[0].rangeMeasured = 0;
        QCOMPARE(RangeCharts::PointsChart(doc, 0).status, ChartData::Status::NotMeasured);
        QCOMPARE(RangeCharts::ErrorsChart(doc, 0).status, ChartData::Status::NotMeasured);
        QCOMPARE(RangeCharts::PointsChart(doc, 50).status, ChartData::Status::NotMeasured);
    }
};

QTEST_GUILESS_MAIN(TestChartData)
#include "tst_chartdata.moc"
