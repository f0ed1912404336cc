// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"

#include <QTest>

// The calibrator's 20 source functions as the calibrator defines them.

class TestCalFunctionTable : public QObject
{
    Q_OBJECT

private slots:
    void init() { FillCalFunctionTable(); }

    void rows_data()
    {
        DataColumns<int, QString, QString, QString, double, double, double, double, int>(
            "index", "sensor", "unit", "range", "low", "high", "errorConst", "errorFactor",
            "decimals");
        // Selection for reference-junction modes 0, 1, 2 (the same for every mode outside the
        // thermocouples).
        QTest::addColumn<QStringList>("select");

        auto row = [](int i, const char* sensor, const char* unit, const char* range, double low,
                      double high, double c, double f, int d, QStringList select) {
            DataRow(sensor, i, QString::fromUtf8(sensor), QString::fromUtf8(unit),
                    QString::fromUtf8(range), low, high, c, f, d, select);
        };
        row(0, "50mV", "mV", "50", -55, 55, 0.006, 0.0003, 3, {"C01", "C01", "C01"});
        row(1, "500mV", "mV", "500", -550, 550, 0.04, 0.0003, 2, {"C02", "C02", "C02"});
        row(2, "2V", "V", "2", -2.75, 2.75, 0.0004, 0.0003, 4, {"C03", "C03", "C03"});
        row(3, "12V", "V", "12", -13.2, 13.2, 0.004, 0.0003, 3, {"C05", "C05", "C05"});
        row(4, "22mA", "mA", "22", -24.2, 24.2, 0.004, 0.0003, 3, {"C06", "C06", "C06"});
        row(5, "400", "Ohm", "400", 0, 400, 0.12, 0.0002, 2, {"C120", "C120", "C120"});
        row(6, "4000", "Ohm", "4000", 0, 4000, 1.2, 0.0002, 1, {"C121", "C121", "C121"});
        row(7, "R (PtRh13-Pt)", "°C", "1768.0", -50, 1768, 1.2, 0.0003, 1, {"C63", "C43", "C23"});
        row(8, "S (PtRh10-Pt)", "°C", "1769.0", -50, 1769, 1.2, 0.0003, 1, {"C60", "C40", "C20"});
        row(9, "B (PtRh30-PtRh6)", "°C", "1820.0", 200, 1820, 1.2, 0.0003, 1,
            {"C65", "C45", "C25"});
        row(10, "J (Fe-CuNi)", "°C", "950.0", -210, 950, 0.4, 0.0003, 1, {"C61", "C41", "C21"});
        row(11, "T (Cu-CuNi)", "°C", "400.0", -270, 400, 0.4, 0.0003, 1, {"C64", "C44", "C24"});
        row(12, "E (NiCr-CuNi)", "°C", "700.0", -50, 700, 0.4, 0.0003, 1, {"C66", "C46", "C26"});
        row(13, "K (NiCr-NiAl)", "°C", "1370.0", -270, 1370, 0.4, 0.0003, 1, {"C62", "C42", "C22"});
        row(14, "Pt100 (385)", "°C", "850.0", -200, 850, 0.3, 0.0003, 2, {"C82", "C82", "C82"});
        row(15, "Pt100 (391)", "°C", "850.0", -200, 850, 0.3, 0.0003, 2, {"C83", "C83", "C83"});
        row(16, "Pt500", "°C", "850.0", -200, 850, 0.5, 0.0003, 1, {"C85", "C85", "C85"});
        row(17, "Pt1000", "°C", "850.0", -200, 850, 0.5, 0.0003, 1, {"C86", "C86", "C86"});
        row(18, "Cu100", "°C", "180.0", -60, 180, 0.3, 0.0003, 1, {"C102", "C102", "C102"});
        row(19, "Ni100", "°C", "180.0", -60, 180, 0.3, 0.0003, 1, {"C90", "C90", "C90"});
    }
    void rows()
    {
        QFETCH(int, index);
        QFETCH(QString, sensor);
        QFETCH(QString, unit);
        QFETCH(QString, range);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(double, errorConst);
        QFETCH(double, errorFactor);
        QFETCH(int, decimals);
        QFETCH(QStringList, select);
        const CalFunction& f = CalFunctionTable[index];
        QCOMPARE(f.sensorName, sensor);
        QCOMPARE(f.unitText, unit);
        QCOMPARE(f.rangeText, range);
        QCOMPARE(f.lowLimit, low);
        QCOMPARE(f.highLimit, high);
        QCOMPARE(f.errorConst, errorConst);
        QCOMPARE(f.errorFactor, errorFactor);
        QCOMPARE(DecimalsForFunction(index), decimals);
        for (int mode = 0; mode < 3; ++mode)
            QCOMPARE(CalFunctions::SelectCommand(index, mode), select[mode]);
        QCOMPARE(CalFunctions::IsThermocouple(index), index >= 7 && index <= 13);
        QCOMPARE(CalFunctions::IsResistanceThermometer(index), index >= 14 && index <= 19);
    }

    void degreeSignIsOneCharacter()
    {
        QCOMPARE(CalFunctionTable[7].unitText.size(), 2);
        QCOMPARE(CalFunctionTable[7].unitText.at(0).unicode(), char16_t(0x00B0));
    }

    void selectCommandOutsideTheTable()
    {
        QCOMPARE(CalFunctions::SelectCommand(-1), QString());
        QCOMPARE(CalFunctions::SelectCommand(20), QString());
        QCOMPARE(CalFunctions::SelectCommand(13, 3), QString());
        QCOMPARE(CalFunctions::SelectCommand(13, -1), QString());
        QCOMPARE(CalFunctions::SelectCommand(0, 5), QStringLiteral("C01"));
        QVERIFY(!CalFunctions::IsValid(20));
        QVERIFY(!CalFunctions::IsValid(-1));
    }

    void findBySensor()
    {
        using namespace CalFunctions;
        QCOMPARE(FindBySensor("K (NiCr-NiAl)", firstThermocouple, lastThermocouple), 13);
        QCOMPARE(FindBySensor("R (PtRh13-Pt)", firstThermocouple, lastThermocouple), 7);
        QCOMPARE(FindBySensor("Ni100", firstResistanceThermometer, lastResistanceThermometer), 19);
        QCOMPARE(FindBySensor("Ni100", firstThermocouple, lastThermocouple), -1);
        QCOMPARE(
            FindBySensor("K (NiCr-NiAl)", firstResistanceThermometer, lastResistanceThermometer),
            -1);
        QCOMPARE(FindBySensor("K", firstThermocouple, lastThermocouple), -1);
        QCOMPARE(FindBySensor("", 0, 19), -1);
        QCOMPARE(FindBySensor("Ni100", 0, 99), 19);
    }

    void sensorLists()
    {
        QCOMPARE(CalFunctions::ThermocoupleNames(),
                 QStringList({"R (PtRh13-Pt)", "S (PtRh10-Pt)", "B (PtRh30-PtRh6)", "J (Fe-CuNi)",
                              "T (Cu-CuNi)", "E (NiCr-CuNi)", "K (NiCr-NiAl)"}));
        QCOMPARE(CalFunctions::ResistanceThermometerNames(),
                 QStringList({"Pt100 (385)", "Pt100 (391)", "Pt500", "Pt1000", "Cu100", "Ni100"}));
    }

    void fillRestoresTheCalibratorValues()
    {
        CalFunctionTable[3].highLimit = 1.0;
        CalFunctionTable[13].sensorName.clear();
        FillCalFunctionTable();
        QCOMPARE(CalFunctionTable[3].highLimit, 13.2);
        QCOMPARE(CalFunctionTable[13].sensorName, QStringLiteral("K (NiCr-NiAl)"));
    }
};

QTEST_GUILESS_MAIN(TestCalFunctionTable)
#include "tst_calfunctiontable.moc"
