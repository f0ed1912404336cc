// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/link/CalFunctionTable.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/run/FieldText.h"
#include "core/metercheck/run/PointErrors.h"
#include "core/metercheck/run/UnitConversion.h"

#include <QTest>

class TestErrors : public QObject
{
    Q_OBJECT

    MeterCheckDoc doc;

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void permissibleAndActualError_data()
    {
        DataColumns<int, int, QString, QString, QString, QString, QString, QString, QString,
                    QString, QString, QString, QString>(
            "function", "calFunction", "rangeValue", "rangeUnit", "classReading", "classRange",
            "constTerm", "constUnit", "reading", "setting", "unit", "permissible", "actual");
        DataRow("400 mV, class 0.05 + 0.1 + 0.01 mV", 0, 1, "400", "mV", "0.05", "0.1", "0.01",
                "mV", "200.000", "200.00", "mV", "0.51", "0.00");
        DataRow("constant in µV", 0, 1, "400", "mV", "", "0.1", "20", "µV", "100.05", "100.00",
                "mV", "0.42", "0.05");
        DataRow("volt range, point in mV", 0, 0, "2", "V", "0.5", "", "", "", "40.000", "40.100",
                "mV", "0.200", "-0.100");
        DataRow("millivolt range, point in V", 0, 3, "2000", "mV", "", "0.5", "", "", "1.800",
                "1.795", "V", "0.010", "0.005");
        DataRow("current in mA", 1, 4, "20", "mA", "0.1", "0.2", "0.01", "mA", "10.000", "10.020",
                "mA", "0.060", "-0.020");
        DataRow("kOhm range in Ohm", 2, 6, "4", "kOhm", "", "1", "", "", "2005.0", "2000.0", "Ohm",
                "40.0", "5.0");
        DataRow("temperature", 3, 13, "1000", "°C", "0.5", "0.2", "1", "°C", "500.4", "500.0", "°C",
                "5.5", "0.4");
        DataRow("empty class and texts count 0", 1, 4, "20", "mA", "", "", "", "", "", "", "mA",
                "0.000", "0.000");
        DataRow("too large keeps fewer decimals", 2, 6, "9999", "kOhm", "", "5", "", "", "3000.0",
                "2999.0", "Ohm", "499950", "1.0");
    }
    void permissibleAndActualError()
    {
        QFETCH(int, function);
        QFETCH(int, calFunction);
        doc = MeterCheckDoc{};
        MeterRange& r = doc.ranges[3];
        r.rangeDefined = 1;
        r.rangeMeasured = 1;
        r.function = RangeFunction(function);
        r.calFunction = qint16(calFunction);
        QFETCH(QString, rangeValue);
        QFETCH(QString, rangeUnit);
        QFETCH(QString, classReading);
        QFETCH(QString, classRange);
        QFETCH(QString, constTerm);
        QFETCH(QString, constUnit);
        r.rangeValue = rangeValue;
        r.rangeUnit = rangeUnit;
        r.classReading = classReading;
        r.classRange = classRange;
        r.constTerm = constTerm;
        r.constUnit = constUnit;
        MeterPoint& p = r.points[5];
        p.pointDefined = 1;
        p.pointMeasured = 1;
        QFETCH(QString, reading);
        QFETCH(QString, setting);
        QFETCH(QString, unit);
        p.reading = reading;
        p.setting = setting;
        p.unit = unit;
        EvaluatePointErrors(doc, 3, 5);
        QTEST(p.permissibleError, "permissible");
        QTEST(p.actualError, "actual");
    }

    void errorsOnlyForMeasuredPoints_data()
    {
        DataColumns<int, int, int>("rangeMeasured", "pointDefined", "pointMeasured");
        DataRow("range not measured", 0, 1, 1);
        DataRow("point not defined", 1, 0, 1);
        DataRow("point not measured", 1, 1, 0);
    }
    void errorsOnlyForMeasuredPoints()
    {
        doc = MeterCheckDoc{};
        MeterRange& r = doc.ranges[0];
        QFETCH(int, rangeMeasured);
        QFETCH(int, pointDefined);
        QFETCH(int, pointMeasured);
        r.rangeMeasured = quint8(rangeMeasured);
        r.rangeValue = "20";
        r.classRange = "1";
        r.function = RangeFunction::Current;
        r.calFunction = 4;
        MeterPoint& p = r.points[0];
        p.pointDefined = quint8(pointDefined);
        p.pointMeasured = quint8(pointMeasured);
        p.reading = "5";
        p.actualError = "old";
        EvaluatePointErrors(doc, 0, 0);
        QCOMPARE(p.actualError, "old");
        QVERIFY(p.permissibleError.isEmpty());
    }

    void calibratorError_data()
    {
        DataColumns<QString, int, int, QString>("setting", "function", "coldJunction", "error");
        DataRow("50 mV range", "50.000", 0, 0, "0.021");
        DataRow("negative setting counts its size", "-500.00", 1, 0, "0.19");
        DataRow("2 V range", "1.0000", 2, 0, "0.0007");
        DataRow("resistance", "1000.0", 6, 0, "1.4");
        DataRow("K with Tex adds the junction", "100.0", 13, 0, "1.2");
        DataRow("K with Tin adds the junction", "100.0", 13, 1, "1.2");
        DataRow("K with To does not", "100.0", 13, 2, "0.4");
        DataRow("R with Tex", "1000.0", 7, 0, "2.3");
        DataRow("RTD has no junction", "100.00", 14, 0, "0.33");
        DataRow("no function", "1.0", -1, 0, "");
    }
    void calibratorError()
    {
        QFETCH(QString, setting);
        QFETCH(int, function);
        QFETCH(int, coldJunction);
        QTEST(CalibratorErrorText(setting, function, ColdJunction(coldJunction)), "error");
    }

    void exceedsPermissible_data()
    {
        DataColumns<QString, QString, bool>("actual", "permissible", "exceeds");
        DataRow("-0.6 against 0.5", "-0.6", "0.5", true);
        DataRow("-0.6 against 0.6", "-0.6", "0.6", false);
        DataRow("0.5 against 0.6", "0.5", "0.6", false);
        DataRow("empty texts", "", "", false);
    }
    void exceedsPermissible()
    {
        MeterPoint point;
        QFETCH(QString, actual);
        QFETCH(QString, permissible);
        point.actualError = actual;
        point.permissibleError = permissible;
        QTEST(ErrorExceedsPermissible(point), "exceeds");
    }

    void unitConversion_data()
    {
        DataColumns<QString, QString, QString, int, QString, QString>(
            "value", "rangeUnit", "pointUnit", "decimals", "inPointUnit", "backInRangeUnit");
        DataRow("V to mV", "0.05", "V", "mV", 3, "50.000", "0.050");
        DataRow("V to mV keeps digits coming back", "0.0123", "V", "mV", 3, "12.300", "0.0123");
        DataRow("mV to V", "1500", "mV", "V", 4, "1.5000", "1500.00");
        DataRow("kOhm to Ohm", "3.5", "kOhm", "Ohm", 1, "3500.0", "3.5");
        DataRow("Ohm to kOhm", "350", "Ohm", "kOhm", 2, "0.35", "350.00");
        DataRow("equal units unchanged", "12.34567", "V", "V", 3, "12.34567", "12.34567");
        DataRow("mA unchanged", "4", "mA", "mA", 3, "4", "4");
        DataRow("°C unchanged", "100", "°C", "°C", 1, "100", "100");
        DataRow("too long keeps fewer decimals", "12.5", "V", "mV", 3, "12500.0", "12.500");
    }
    void unitConversion()
    {
        QFETCH(QString, value);
        QFETCH(QString, rangeUnit);
        QFETCH(QString, pointUnit);
        QFETCH(int, decimals);
        QFETCH(QString, inPointUnit);
        QCOMPARE(ConvertToPointUnit(value, rangeUnit, pointUnit, decimals), inPointUnit);
        QTEST(ConvertToRangeUnit(inPointUnit, pointUnit, rangeUnit, decimals), "backInRangeUnit");
    }

    void fitFixed_data()
    {
        DataColumns<double, int, QString>("value", "decimals", "text");
        DataRow("fits as asked", 12.3456, 3, "12.346");
        DataRow("seven characters", -0.1234, 4, "-0.1234");
        DataRow("rounded, not cut", -0.12345, 5, "-0.1235");
        DataRow("rounding carries", 99999.99, 3, "100000");
        DataRow("whole number without point", 1234567.0, 1, "1234567");
        DataRow("whole negative", -123456.7, 2, "-123457");
        DataRow("too large for fixed form", 12345678.0, 1, "1.2e+07");
        DataRow("too large negative", -98765432.0, 1, "-1e+08");
    }
    void fitFixed()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QTEST(FitFixed(value, decimals), "text");
    }
};

QTEST_GUILESS_MAIN(TestErrors)
#include "tst_errors.moc"
