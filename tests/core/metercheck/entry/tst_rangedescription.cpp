// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/metercheck/entry/RangeDescription.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <QTest>

class TestRangeDescription : public QObject
{
    Q_OBJECT

private slots:
    void describe_data()
    {
        DataColumns<int, QString, int, QString, QString, QString>("calFunction", "sensor",
                                                                  "junction", "to", "rl", "text");
        DataRow("50 mV", 0, "", 0, "", "", "Pomiar napięcia");
        DataRow("12 V", 3, "", 0, "", "", "Pomiar napięcia");
        DataRow("current", 4, "", 2, "5.0", "", "Pomiar prądu");
        DataRow("400 Ohm", 5, "", 0, "", "", "Pomiar rezystancji");
        DataRow("4000 Ohm", 6, "", 0, "", "1.0", "Pomiar rezystancji");
        DataRow("K with To", 13, "K (NiCr-NiAl)", 2, "23.0", "",
                QStringLiteral("Pomiar temperatury; Czujnik T/C: K (NiCr-NiAl) [To=23.0°C]"));
        DataRow("R with Tex", 7, "R (PtRh13-Pt)", 0, "", "10.0",
                "Pomiar temperatury; Czujnik T/C: R (PtRh13-Pt) [Tex]");
        DataRow("J with Tin", 10, "J (Fe-CuNi)", 1, "", "",
                "Pomiar temperatury; Czujnik T/C: J (Fe-CuNi) [Tin]");
        DataRow("unknown junction has no suffix", 9, "B (PtRh30-PtRh6)", 5, "1.0", "",
                "Pomiar temperatury; Czujnik T/C: B (PtRh30-PtRh6)");
        DataRow("Pt100 with RL", 14, "Pt100 (385)", 2, "9.0", "10.0",
                "Pomiar temperatury; Czujnik RTD: Pt100 (385) [RL=10.0 Ohm]");
        DataRow("Ni100 without RL", 19, "Ni100", 0, "", "",
                "Pomiar temperatury; Czujnik RTD: Ni100");
        DataRow("index 20 describes nothing", 20, "", 0, "", "", "");
        DataRow("negative index describes nothing", -1, "", 0, "", "", "");
    }
    void describe()
    {
        QFETCH(int, calFunction);
        QFETCH(QString, sensor);
        QFETCH(int, junction);
        QFETCH(QString, to);
        QFETCH(QString, rl);
        QFETCH(QString, text);
        MeterRange range;
        range.calFunction = qint16(calFunction);
        range.sensorName = sensor;
        range.coldJunction = ColdJunction(junction);
        range.toValue = to;
        range.rlValue = rl;
        QCOMPARE(DescribeRange(range), text);
    }

    // The grid adds the suffix by the range's quantity, not by the function last used.
    void sensorColumn()
    {
        MeterRange range;
        range.sensorName = "Pt1000";
        range.rlValue = "55.0";
        range.coldJunction = ColdJunction::Tin;
        range.function = RangeFunction::Rtd;
        range.calFunction = 13;
        QCOMPARE(SensorWithSuffix(range), QStringLiteral("Pt1000 [RL=55.0 Ohm]"));
        range.function = RangeFunction::Thermocouple;
        QCOMPARE(SensorWithSuffix(range), QStringLiteral("Pt1000 [Tin]"));
        range.function = RangeFunction::Voltage;
        QCOMPARE(SensorWithSuffix(range), QStringLiteral("Pt1000"));
    }
};

QTEST_GUILESS_MAIN(TestRangeDescription)
#include "tst_rangedescription.moc"
