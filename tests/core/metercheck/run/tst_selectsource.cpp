// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "FakeLink.h"
#include "RecordingCommandSender.h"
#include "RecordingMessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/LinkSession.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/run/SelectSource.h"

#include <QTest>

#include <atomic>

// Choosing the calibrator's source function for a measurement point and the selection
// commands that go out for it.

namespace {

const QString tooHighText = QStringLiteral("Nastawa przekracza maksymalny zakres kalibratora.");

struct PointSpec
{
    QString setting;
    QString reading;
    quint8 marked = 1;
    quint8 defined = 1;
    QString measuredUnit = {}; // not empty: the point was measured and holds this unit
};

// Range slot `index` of the document, cleared and filled with the given points.
MeterRange& MakeRange(MeterCheckDoc& doc, int index, RangeFunction function, const QString& unit,
                      const QList<PointSpec>& points = {})
{
    MeterRange& r = doc.ranges[index];
    r = MeterRange{};
    r.rangeDefined = 1;
    r.function = function;
    r.rangeUnit = unit;
    for (int i = 0; i < points.size(); ++i) {
        r.points[i].setting = points[i].setting;
        r.points[i].reading = points[i].reading;
        r.points[i].marked = points[i].marked;
        r.points[i].pointDefined = points[i].defined;
        r.points[i].unit = points[i].measuredUnit;
        r.points[i].pointMeasured = points[i].measuredUnit.isEmpty() ? 0 : 1;
    }
    return r;
}

} // namespace

Q_DECLARE_METATYPE(QList<PointSpec>)

class TestSelectSource : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

    MeterCheckDoc doc;

private slots:
    void init()
    {
        doc = MeterCheckDoc();
        FillCalFunctionTable();
    }

    void voltage_data()
    {
        DataColumns<QString, QString, int, QString>("unit", "value", "index", "command");
        DataRow("55 mV is on the 50 mV range", "mV", "55", 0, "C01");
        DataRow("55.001 mV needs 500 mV", "mV", "55.001", 1, "C02");
        DataRow("-55 mV", "mV", "-55", 0, "C01");
        DataRow("-550 mV", "mV", "-550", 1, "C02");
        DataRow("-550.001 mV needs 2 V", "mV", "-550.001", 2, "C03");
        DataRow("0.055 V in volts", "V", "0.055", 0, "C01");
        DataRow("zero volts", "V", "0", 0, "C01");
        DataRow("2.75 V", "V", "2.75", 2, "C03");
        DataRow("2.7501 V needs 12 V", "V", "2.7501", 3, "C05");
        DataRow("13.2 V", "V", "13.2", 3, "C05");
        DataRow("-13.2 V", "V", "-13.2", 3, "C05");
        DataRow("13200 mV", "mV", "13200", 3, "C05");
        DataRow("13.3 V is too high", "V", "13.3", -1, "");
        DataRow("13300 mV is too high", "mV", "13300", -1, "");
        DataRow("-13.3 V is too high", "V", "-13.3", -1, "");
        DataRow("microvolts are not a voltage unit here", "µV", "1", -1, "");
        DataRow("no unit", "", "1", -1, "");
    }
    void voltage()
    {
        QFETCH(QString, unit);
        QFETCH(QString, value);
        QFETCH(int, index);
        QFETCH(QString, command);
        RecordingMessageService messages;
        RecordingCommandSender sender;
        MakeRange(doc, 3, RangeFunction::Voltage, unit,
                  {{QStringLiteral("9"), QStringLiteral("9")}, {value, "9"}});

        QCOMPARE(SelectSourceForPoint(doc, 3, 1, sender, messages), index);
        QCOMPARE(sender.sent, command.isEmpty() ? QStringList() : QStringList{command});
        const bool tooHigh = index < 0 && (unit == "V" || unit == "mV");
        if (tooHigh) {
            QVERIFY(messages.OnlyError(tooHighText));
        } else {
            QVERIFY(messages.messages.isEmpty());
        }
    }

    void nominalValueFollowsTheMethod_data()
    {
        DataColumns<int, int>("method", "index");
        DataRow("exact setting uses the setting", 0, 0);
        DataRow("exact reading uses the reading", 1, 3);
    }
    void nominalValueFollowsTheMethod()
    {
        QFETCH(int, method);
        QFETCH(int, index);
        RecordingCommandSender sender;
        doc.method = CheckMethod(method);
        MakeRange(doc, 0, RangeFunction::Voltage, "V",
                  {{QStringLiteral("0.01"), QStringLiteral("5")}});
        QCOMPARE(SelectSourceForPoint(doc, 0, 0, sender, log), index);

        // The resistance choice looks at the same value of every marked point.
        MakeRange(doc, 1, RangeFunction::Resistance, "Ohm",
                  {{QStringLiteral("100"), QStringLiteral("1000")}});
        QCOMPARE(SelectSourceForPoint(doc, 1, 0, sender, log), method == 0 ? 5 : 6);
    }

    void current()
    {
        RecordingCommandSender sender;
        MakeRange(doc, 0, RangeFunction::Current, "mA", {{QStringLiteral("100"), {}}});
        QCOMPARE(SelectSourceForPoint(doc, 0, 0, sender, log), 4);
        QCOMPARE(sender.sent, QStringList{"C06"});
    }

    void resistance_data()
    {
        DataColumns<QString, QList<PointSpec>, int, QString>("unit", "points", "index", "command");
        DataRow("largest marked 400", "Ohm", QList<PointSpec>{{"100", ""}, {"400", ""}}, 5, "C120");
        DataRow("largest marked 400.1", "Ohm", QList<PointSpec>{{"400.1", ""}, {"100", ""}}, 6,
                "C121");
        DataRow("unmarked larger point ignored", "Ohm",
                QList<PointSpec>{{"100", ""}, {"3000", "", 0}}, 5, "C120");
        DataRow("no marked point", "Ohm", QList<PointSpec>{{"3000", "", 0}}, 5, "C120");
        DataRow("no point", "Ohm", QList<PointSpec>{}, 5, "C120");
        DataRow("all negative", "Ohm", QList<PointSpec>{{"-500", ""}}, 5, "C120");
        DataRow("only the first defined-count slots", "Ohm",
                QList<PointSpec>{{"100", ""}, {"200", ""}, {"", "", 0, 0}, {"1000", ""}}, 5,
                "C120");
        DataRow("kOhm 1.5 is 1500 ohm", "kOhm", QList<PointSpec>{{"1.5", ""}}, 6, "C121");
        DataRow("kOhm 0.4 is 400 ohm", "kOhm", QList<PointSpec>{{"0.4", ""}, {"0.1", ""}}, 5,
                "C120");
        DataRow("kOhm 0.4001", "kOhm", QList<PointSpec>{{"0.4001", ""}}, 6, "C121");
        // Points already measured hold their values in the calibrator's ohms.
        DataRow("kOhm range, measured 100.00 Ohm beside 0.4 kOhm", "kOhm",
                QList<PointSpec>{{"100.00", "", 1, 1, "Ohm"}, {"0.4", ""}}, 5, "C120");
        DataRow("kOhm range, measured 400.1 Ohm", "kOhm",
                QList<PointSpec>{{"0.1", ""}, {"400.1", "", 1, 1, "Ohm"}}, 6, "C121");
    }
    void resistance()
    {
        QFETCH(QString, unit);
        QFETCH(QList<PointSpec>, points);
        QFETCH(int, index);
        QFETCH(QString, command);
        RecordingMessageService messages;
        RecordingCommandSender sender;
        MakeRange(doc, 7, RangeFunction::Resistance, unit, points);
        QCOMPARE(SelectSourceForPoint(doc, 7, 0, sender, messages), index);
        QCOMPARE(sender.sent, QStringList{command});
        QVERIFY(messages.messages.isEmpty());
    }

    void thermocouple_data()
    {
        DataColumns<QString, int, QString, int, QStringList>("sensor", "coldJunction", "to",
                                                             "index", "commands");
        DataRow("K with To 20.0", "K (NiCr-NiAl)", 2, "20.0", 13, QStringList{"C22", "T20.0"});
        DataRow("K external", "K (NiCr-NiAl)", 0, "20.0", 13, QStringList{"C62"});
        DataRow("K internal", "K (NiCr-NiAl)", 1, "", 13, QStringList{"C42"});
        DataRow("R external", "R (PtRh13-Pt)", 0, "", 7, QStringList{"C63"});
        DataRow("S internal", "S (PtRh10-Pt)", 1, "", 8, QStringList{"C40"});
        DataRow("B with To 23.5", "B (PtRh30-PtRh6)", 2, "23.5", 9, QStringList{"C25", "T23.5"});
        DataRow("J external", "J (Fe-CuNi)", 0, "", 10, QStringList{"C61"});
        DataRow("T internal", "T (Cu-CuNi)", 1, "", 11, QStringList{"C44"});
        DataRow("E with To 0.0", "E (NiCr-CuNi)", 2, "0.0", 12, QStringList{"C26", "T0.0"});
        // A To from a damaged file goes out as its number, never with frame characters.
        DataRow("K with To 2%0 from a damaged file", "K (NiCr-NiAl)", 2, "2%0", 13,
                QStringList{"C22", "T2.0"});
        DataRow("name must match exactly", "k (NiCr-NiAl)", 0, "", -1, QStringList{});
        DataRow("trailing blank", "K (NiCr-NiAl) ", 0, "", -1, QStringList{});
        DataRow("resistance thermometer is no thermocouple", "Pt100 (385)", 0, "", -1,
                QStringList{});
        DataRow("unknown sensor", "X", 0, "", -1, QStringList{});
        DataRow("empty sensor", "", 2, "20.0", -1, QStringList{});
    }
    void thermocouple()
    {
        QFETCH(QString, sensor);
        QFETCH(int, coldJunction);
        QFETCH(QString, to);
        QFETCH(int, index);
        QFETCH(QStringList, commands);
        RecordingMessageService messages;
        RecordingCommandSender sender;
        MeterRange& r = MakeRange(doc, 2, RangeFunction::Thermocouple, "°C", {{"1000.0", ""}});
        r.sensorName = sensor;
        r.coldJunction = ColdJunction(coldJunction);
        r.toValue = to;
        r.rlValue = QStringLiteral("1.5"); // not a thermocouple setting
        QCOMPARE(SelectSourceForPoint(doc, 2, 0, sender, messages), index);
        QCOMPARE(sender.sent, commands);
        QVERIFY(messages.messages.isEmpty());
    }

    void resistanceThermometer_data()
    {
        DataColumns<QString, QString, int, QStringList>("sensor", "rl", "index", "commands");
        DataRow("Pt100 (385) without RL", "Pt100 (385)", "", 14, QStringList{"C82"});
        DataRow("Pt100 (385) with RL 1.5", "Pt100 (385)", "1.5", 14, QStringList{"C82", "R1.5"});
        DataRow("Pt100 (391)", "Pt100 (391)", "", 15, QStringList{"C83"});
        DataRow("Pt500", "Pt500", "", 16, QStringList{"C85"});
        DataRow("Pt1000 with RL 55.0", "Pt1000", "55.0", 17, QStringList{"C86", "R55.0"});
        DataRow("Cu100", "Cu100", "", 18, QStringList{"C102"});
        DataRow("Ni100 with RL 0.0", "Ni100", "0.0", 19, QStringList{"C90", "R0.0"});
        DataRow("Pt100 with RL 1^5 from a damaged file", "Pt100 (385)", "1^5", 14,
                QStringList{"C82", "R1.0"});
        DataRow("thermocouple is no resistance thermometer", "K (NiCr-NiAl)", "", -1,
                QStringList{});
        DataRow("Pt100 without alpha", "Pt100", "1.5", -1, QStringList{});
    }
    void resistanceThermometer()
    {
        QFETCH(QString, sensor);
        QFETCH(QString, rl);
        QFETCH(int, index);
        QFETCH(QStringList, commands);
        RecordingMessageService messages;
        RecordingCommandSender sender;
        MeterRange& r = MakeRange(doc, 49, RangeFunction::Rtd, "°C", {{"100.00", ""}});
        r.sensorName = sensor;
        r.rlValue = rl;
        r.coldJunction = ColdJunction::To; // not an RTD setting
        r.toValue = QStringLiteral("20.0");
        QCOMPARE(SelectSourceForPoint(doc, 49, 0, sender, messages), index);
        QCOMPARE(sender.sent, commands);
        QVERIFY(messages.messages.isEmpty());
    }

    void unknownFunctionOrSlot_data()
    {
        DataColumns<int, int, int>("function", "range", "point");
        DataRow("function 5", 5, 0, 0);
        DataRow("function 7", 7, 0, 0);
        DataRow("function -1", -1, 0, 0);
        DataRow("range -1", 1, -1, 0);
        DataRow("range 50", 1, 50, 0);
        DataRow("point 50", 1, 0, 50);
        DataRow("point -1", 1, 0, -1);
    }
    void unknownFunctionOrSlot()
    {
        QFETCH(int, function);
        QFETCH(int, range);
        QFETCH(int, point);
        RecordingMessageService messages;
        RecordingCommandSender sender;
        MakeRange(doc, 0, RangeFunction(function), "V", {{"1", "1"}});
        QCOMPARE(SelectSourceForPoint(doc, range, point, sender, messages), -1);
        QVERIFY(sender.sent.isEmpty());
        QVERIFY(messages.messages.isEmpty());
    }

    // Through the calibrator link itself: the frames on the wire, and a dropped link.
    void sendsThroughTheLink()
    {
        FakeLink link;
        std::atomic<bool> answering = true;
        link.device.responder = [&answering](const QList<QByteArray>&) {
            return answering ? QByteArray("%") : QByteArray();
        };
        MeterRange& r = MakeRange(doc, 0, RangeFunction::Thermocouple, "°C", {{"100.0", ""}});
        r.sensorName = QStringLiteral("K (NiCr-NiAl)");
        r.coldJunction = ColdJunction::To;
        r.toValue = QStringLiteral("20.0");
        LinkSession session(link.link);
        session.Open(1);
        QCOMPARE(SelectSourceForPoint(doc, 0, 0, session, link.messages), 13);
        QVERIFY(session.WaitUntilSent());
        QCOMPARE(link.device.Written(), QByteArray("^C22%^T20.0%"));

        // A dropped link sends nothing more, yet the index is still the answer.
        answering = false;
        session.Send(QStringLiteral("X"));
        QVERIFY(!session.WaitUntilSent());
        QCOMPARE(link.messages.messages.size(), 1);
        link.device.ClearRecords();
        QCOMPARE(SelectSourceForPoint(doc, 0, 0, session, link.messages), 13);
        session.WaitUntilSent();
        QVERIFY(link.device.writes.isEmpty());
        QCOMPARE(link.messages.messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSelectSource)
#include "tst_selectsource.moc"
