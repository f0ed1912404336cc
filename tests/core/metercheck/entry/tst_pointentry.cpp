// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/metercheck/entry/PointEntry.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include "RecordingMessageService.h"

#include <QTest>

namespace {

MeterRange Range(int function, const QString& unit, const QString& sensor = {})
{
    MeterRange r;
    r.function = RangeFunction(function);
    r.rangeUnit = unit;
    r.sensorName = sensor;
    r.rangeDefined = 1;
    return r;
}

} // namespace

class TestPointEntry : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        DataColumns<int, QString, QString, QString, QString, QString>("function", "unit", "sensor",
                                                                      "typed", "stored", "message");
        const QString outside = "Podana nastawa nie mieści się w zakresie kalibratora.";
        const QString wrong = "Błędnie podany punkt pomiarowy.";
        const QString tooLong =
            "Punkt pomiarowy może mieć najwyżej 7 znaków (razem z kropką i znakiem minus).";
        auto row = [](const char* name, int function, const char* unit, const char* sensor,
                      const char* typed, const char* stored, const QString& message) {
            DataRow(name, function, QString(unit), QString(sensor), QString(typed), QString(stored),
                    message);
        };
        // clang-format off
        row("mV upper limit",            0, "mV",   "", "13200",    "13200.0", "");
        row("mV above the limit",        0, "mV",   "", "13200.1",  "",        outside);
        row("mV zero decimals give way", 0, "mV",   "", "13200.00", "13200.0", "");
        row("mV lower limit fits as -13200", 0, "mV", "", "-13200", "-13200",  "");
        row("mV value needing 8 chars",  0, "mV",   "", "1234.125", "",        tooLong);
        row("V value needing 8 chars",   0, "V",    "", "0.000001", "",        tooLong);
        row("V digits beyond 17 decimals", 0, "V", "", "0.000000000000000000018", "", tooLong);
        row("V zeros beyond 17 decimals",  0, "V", "", "1.000000000000000000000", "1.00000", "");
        row("V lower limit",             0, "V",    "", "-13.2",    "-13.2",   "");
        row("V 14",                      0, "V",    "", "14",       "",        outside);
        row("mA limit",                  1, "mA",   "", "24.2",     "24.2",    "");
        row("mA below",                  1, "mA",   "", "-24.3",    "",        outside);
        row("Ohm 4000",                  2, "Ohm",  "", "4000",     "4000.0",  "");
        row("kOhm 4",                    2, "kOhm", "", "4",        "4.0",     "");
        row("kOhm 4.001",                2, "kOhm", "", "4.001",    "",        outside);
        row("kOhm negative",             2, "kOhm", "", "-0.1",     "",        outside);
        row("B below 200",  3, "°C", "B (PtRh30-PtRh6)", "150",  "",       outside);
        row("B 200",        3, "°C", "B (PtRh30-PtRh6)", "200",  "200.0",  "");
        row("K -270",       3, "°C", "K (NiCr-NiAl)",    "-270", "-270.0", "");
        row("Cu100 181",    4, "°C", "Cu100",            "181",  "",       outside);
        row("Pt100 -200",   4, "°C", "Pt100 (385)",      "-200", "-200.0", "");
        row("unknown sensor", 4, "°C", "Pt200",          "0",    "",       outside);
        row("comma",          0, "V", "", "1,5",   "1.5",   "");
        row("decimals kept",  0, "V", "", "1.50",  "1.50",  "");
        row("0,50",           0, "V", "", "0,50",  "0.50",  "");
        row("-5.25",          0, "V", "", "-5.25", "-5.25", "");
        row("leading point",  0, "V", "", ".5",    "0.5",   "");
        row("12a",            0, "V", "", "12a",   "",      wrong);
        row("blank",          0, "V", "", " ",     "",      wrong);
        row("two signs",      0, "V", "", "--5",   "",      wrong);
        row("sign inside",    0, "V", "", "1-2",   "",      wrong);
        row("two points",     0, "V", "", "1.2.3", "",      wrong);
        row("lone minus",     0, "V", "", "-",     "",      wrong);
        // clang-format on
    }
    void check()
    {
        QFETCH(int, function);
        QFETCH(QString, unit);
        QFETCH(QString, sensor);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        RecordingMessageService messages;
        const MeterRange range = Range(function, unit, sensor);
        PointEntry entry(range, CheckMethod::ExactSetting, messages);
        const PointEntry::Outcome outcome = entry.Check(typed);
        QCOMPARE(outcome,
                 message.isEmpty() ? PointEntry::Outcome::Accepted : PointEntry::Outcome::Refused);
        QCOMPARE(messages.Texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!message.isEmpty())
            QVERIFY(messages.IsErrorBox(0));
        QCOMPARE(entry.Value(), stored);
        QVERIFY(entry.Value().size() <= 7);
    }

    void emptyTextDoesNothing()
    {
        RecordingMessageService messages;
        const MeterRange range = Range(0, "V");
        PointEntry entry(range, CheckMethod::ExactSetting, messages);
        QCOMPARE(entry.Check(""), PointEntry::Outcome::Empty);
        QVERIFY(messages.messages.isEmpty());
    }

    void storesTheNominalFieldOfTheMethod()
    {
        RecordingMessageService messages;
        const MeterRange range = Range(2, "kOhm");
        MeterPoint point{"3.990", "4.0", "-0.010", "0.02", "0.001", "kOhm", 0, 1, 0, 1};
        PointEntry exactReading(range, CheckMethod::ExactReading, messages);
        QCOMPARE(exactReading.Check("2,5"), PointEntry::Outcome::Accepted);
        exactReading.StoreInto(point);
        QCOMPARE(point.reading, QStringLiteral("2.5"));
        QCOMPARE(point.setting, QStringLiteral("4.0"));
        QCOMPARE(point.actualError, QStringLiteral("-0.010"));
        QCOMPARE(point.pointMeasured, quint8(1));
        QCOMPARE(point.marked, quint8(1));
        QCOMPARE(point.pointDefined, quint8(1));
        QCOMPARE(point.unit, QStringLiteral("kOhm"));

        MeterPoint fresh;
        PointEntry exactSetting(range, CheckMethod::ExactSetting, messages);
        QCOMPARE(exactSetting.Check("1"), PointEntry::Outcome::Accepted);
        exactSetting.StoreInto(fresh);
        QCOMPARE(fresh.setting, QStringLiteral("1.0"));
        QCOMPARE(fresh.reading, QString());
        QCOMPARE(PointEntry::NominalValue(point, CheckMethod::ExactReading), QStringLiteral("2.5"));
        QCOMPARE(PointEntry::NominalValue(point, CheckMethod::ExactSetting), QStringLiteral("4.0"));
    }

    void captionsAndLimits()
    {
        QCOMPARE(PointEntry::Caption(CheckMethod::ExactSetting),
                 QStringLiteral("Nastawa kalibratora"));
        QCOMPARE(PointEntry::Caption(CheckMethod::ExactReading),
                 QStringLiteral("Wskazanie miernika"));
        QCOMPARE(PointEntry::Title(), QStringLiteral("Dodawanie punktu pomiarowego"));
        const auto mv = PointEntry::LimitsFor(Range(0, "mV"));
        QVERIFY(mv);
        QCOMPARE(mv->low, -13200.0);
        QCOMPARE(mv->high, 13200.0);
        const auto kohm = PointEntry::LimitsFor(Range(2, "kOhm"));
        QCOMPARE(kohm->high, 4.0);
        QCOMPARE(kohm->low, 0.0);
        const auto j = PointEntry::LimitsFor(Range(3, "°C", "J (Fe-CuNi)"));
        QCOMPARE(j->low, -210.0);
        QCOMPARE(j->high, 950.0);
        QVERIFY(!PointEntry::LimitsFor(Range(5, "V")));
        QVERIFY(!PointEntry::LimitsFor(Range(3, "°C", "Pt100 (385)"))); // not a thermocouple
    }
};

QTEST_GUILESS_MAIN(TestPointEntry)
#include "tst_pointentry.moc"
