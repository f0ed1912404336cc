// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "RecordingCommandSender.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"
#include "ProcedureScript.h"

#include "core/history/CheckRecord.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/metercheck/run/MeasureProcedure.h"

#include <QTest>

class TestProcedure : public QObject
{
    Q_OBJECT

    using Result = MeasureProcedure::Result;

    ScopedDocument session;
    MeterCheckDoc& doc = session.document;
    RecordingCommandSender sender;
    RecordingMessageService messages; // what the procedure shows, fresh for every case
    ScriptedMeasurementDialogs* dialogs = nullptr;
    RecordingPointsGrid* grid = nullptr;
    MeasureProcedure* procedure = nullptr;

    MeterRange& SetRange(int i, RangeFunction function, const QString& value, const QString& unit)
    {
        MeterRange& r = doc.ranges[i];
        r.rangeDefined = 1;
        r.function = function;
        r.rangeValue = value;
        r.rangeUnit = unit;
        return r;
    }

    // A point with its nominal value in the range's unit, where the document's method keeps it.
    MeterPoint& SetPoint(MeterRange& r, int j, const QString& nominal, bool marked = true)
    {
        MeterPoint& p = r.points[j];
        p.pointDefined = 1;
        p.marked = marked ? 1 : 0;
        p.Nominal(doc.method) = nominal;
        return p;
    }

private slots:
    void init()
    {
        FillCalFunctionTable();
        session.Reset();
        sender = RecordingCommandSender{};
        messages.Reset();
        dialogs = new ScriptedMeasurementDialogs(doc, sender);
        grid = new RecordingPointsGrid;
        procedure = new MeasureProcedure(session, *dialogs, *grid, sender, messages);
    }
    void cleanup()
    {
        LabPolicy().SaveToSettings(); // a case's calibrator does not reach the next
        delete procedure;
        delete grid;
        delete dialogs;
    }

    void noMarkedPointTakesNothing_data()
    {
        QTest::addColumn<int>("method");
        DataRow("exact setting", 0);
        DataRow("exact reading", 1);
    }
    void noMarkedPointTakesNothing()
    {
        QFETCH(int, method);
        doc.method = CheckMethod(method);
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "400", "mV");
        SetPoint(r, 0, "100", false);
        SetPoint(r, 1, "200", false);
        const Result result = method == 0
                                  ? procedure->MeasureRangeExactSetting(0, PointScope::Marked)
                                  : procedure->MeasureRangeExactReading(0, PointScope::Marked);
        QCOMPARE(result, Result::NoPointTaken);
        QVERIFY(sender.sent.isEmpty());
        QVERIFY(dialogs->opened.isEmpty());
        QVERIFY(grid->calls.isEmpty());
        QCOMPARE(r.rangeMeasured, quint8(0));
        QVERIFY(!session.IsModified());
    }

    void allPointsScopeTakesDefinedPoints()
    {
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "400", "mV");
        SetPoint(r, 0, "100", false);
        SetPoint(r, 1, "200", false);
        dialogs->steps = {DialogStep::Ok("100.1"), DialogStep::Ok("199.8")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::All), Result::Confirmed);
        QCOMPARE(sender.sent, QStringList({"C02", "N100.00", "C02", "N200.00"}));
        QCOMPARE(grid->calls,
                 QStringList({"row 1", "fill 0", "row 2", "row 2", "fill 0", "row 3"}));
        QCOMPARE(r.points[1].actualError, "-0.20");
        QVERIFY(session.IsModified());
    }

    void voltRangeServedInMillivolts()
    {
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "10", "V");
        r.classRange = "0.5";
        MeterPoint& p = SetPoint(r, 0, "0.05");
        dialogs->steps = {DialogStep::Ok("0.0502")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(sender.TakeSent(), QStringList({"C01", "N50.000"}));
        QCOMPARE(dialogs->opened.at(0).setpoint, "50.000");
        QCOMPARE(dialogs->opened.at(0).setting, "0.05"); // still in the range's unit
        QCOMPARE(p.setting, "50.000");
        QCOMPARE(p.reading, "50.200");
        QCOMPARE(p.unit, "mV");
        QCOMPARE(r.calFunction, qint16(0));
        QCOMPARE(p.pointMeasured, quint8(1));
        QCOMPARE(r.rangeMeasured, quint8(1));
        QCOMPARE(p.actualError, "0.200");
        QCOMPARE(p.permissibleError, "50.000"); // 10 V × 0.5 % in mV
        QCOMPARE(p.calibratorError, "0.021");   // 50 × 0.0003 + 0.006

        // Again: the setting goes back to volts before the function is chosen.
        dialogs->steps = {DialogStep::Ok("0.0499")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(dialogs->opened.at(1).setting, "0.050");
        QCOMPARE(sender.TakeSent(), QStringList({"C01", "N50.000"}));
        QCOMPARE(p.setting, "50.000");
        QCOMPARE(p.reading, "49.900");
        QCOMPARE(p.unit, "mV");
    }

    // Kilo-ohm points are compared in ohms once, whether still nominal or already measured,
    // the point being measured again included.
    void kiloOhmRangeStaysOnItsFunction_data()
    {
        DataColumns<QStringList, QStringList, QStringList>("nominals", "frames",
                                                           "calibratorErrors");
        DataRow("4 kOhm range, points up to 400 Ohm", QStringList({"0.1", "0.25", "0.4"}),
                QStringList({"C120", "N100.00", "C120", "N250.00", "C120", "N400.00"}),
                QStringList({"0.14", "0.17", "0.20"}));
        DataRow("one point of 1.5 kOhm", QStringList({"1.5"}), QStringList({"C121", "N1500.0"}),
                QStringList({"1.5"}));
    }
    void kiloOhmRangeStaysOnItsFunction()
    {
        QFETCH(QStringList, nominals);
        QFETCH(QStringList, frames);
        QFETCH(QStringList, calibratorErrors);
        MeterRange& r = SetRange(0, RangeFunction::Resistance, "4", "kOhm");
        for (int j = 0; j < nominals.size(); ++j)
            SetPoint(r, j, nominals[j]);
        for (int pass = 0; pass < 2; ++pass) {
            for (const QString& typed : nominals) // the meter shows each value exactly
                dialogs->steps << DialogStep::Ok(typed);
            QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::All), Result::Confirmed);
            QCOMPARE(sender.TakeSent(), frames);
            QStringList errors;
            for (int j = 0; j < nominals.size(); ++j)
                errors << r.points[j].calibratorError;
            QCOMPARE(errors, calibratorErrors);
            QCOMPARE(r.points[0].unit, "Ohm");
            QCOMPARE(r.points[0].actualError, frames.size() > 2 ? "0.00" : "0.0");
        }
    }

    void abortKeepsAnEarlierMeasurement()
    {
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "10", "V");
        MeterPoint& p = SetPoint(r, 0, "0.0123");
        dialogs->steps = {DialogStep::Ok("0.0124")};
        procedure->MeasureRangeExactSetting(0, PointScope::Marked);
        const MeterPoint measured = p;
        QCOMPARE(measured.setting, "12.300");

        // Its nominal value comes back without losing a digit, and an abort leaves the
        // earlier measurement as it was, in millivolts.
        dialogs->steps = {DialogStep::Abort()};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::AbortedRange);
        QCOMPARE(dialogs->opened.at(1).setting, "0.0123");
        QCOMPARE(p.setting, measured.setting);
        QCOMPARE(p.reading, measured.reading);
        QCOMPARE(p.unit, "mV");
        QCOMPARE(p.actualError, measured.actualError);
        QCOMPARE(p.pointMeasured, quint8(1));

        // An empty edit confirmed keeps the earlier indication.
        dialogs->steps = {DialogStep::Ok("")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(p.reading, "12.400");
    }

    void abortFirstPointOfNewRange()
    {
        MeterRange& r = SetRange(0, RangeFunction::Current, "20", "mA");
        MeterPoint& p = SetPoint(r, 0, "4");
        SetPoint(r, 1, "12");
        dialogs->steps = {DialogStep::Abort()};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::AbortedRange);
        QCOMPARE(dialogs->opened.size(), 1); // the pass ends at the abort
        QCOMPARE(sender.sent, QStringList({"C06", "N4.000"}));
        QCOMPARE(grid->calls, QStringList({"row 1", "fill 0", "row 1"}));
        QCOMPARE(p.setting, "4"); // the nominal value as typed
        QVERIFY(p.reading.isEmpty());
        QVERIFY(p.unit.isEmpty());
        QVERIFY(p.calibratorError.isEmpty());
        QCOMPARE(p.pointMeasured, quint8(0));
        QCOMPARE(r.rangeMeasured, quint8(0));
        QVERIFY(messages.messages.isEmpty());
    }

    void abortInRunOverRanges_data()
    {
        DataColumns<int, int, int, int, int>("scope", "answer", "questions", "dialogsOpened",
                                             "lastRange");
        DataRow("current range: no question", 0, int(MessageAnswer::Yes), 0, 1, 0);
        DataRow("all ranges, Yes ends the run", 1, int(MessageAnswer::Yes), 1, 1, 0);
        DataRow("all ranges, No goes on", 1, int(MessageAnswer::No), 1, 2, 1);
    }
    void abortInRunOverRanges()
    {
        QFETCH(int, scope);
        QFETCH(int, answer);
        QFETCH(int, questions);
        QFETCH(int, dialogsOpened);
        QFETCH(int, lastRange);
        SetPoint(SetRange(0, RangeFunction::Voltage, "400", "mV"), 0, "100");
        SetPoint(SetRange(1, RangeFunction::Voltage, "400", "mV"), 0, "200");
        messages.answers = {MessageAnswer(answer)};
        dialogs->chosenRangeScope = RangeScope(scope);
        dialogs->steps = {DialogStep::Abort(), DialogStep::Ok("200.5")};
        procedure->OnMeasure();
        QCOMPARE(messages.messages.size(), questions);
        if (questions) {
            const auto& m = messages.messages.at(0);
            QCOMPARE(m.text, "Czy przerwać pomiary na wszystkich zakresach?");
            QCOMPARE(m.caption, "Przeranie pomiarów!");
            QCOMPARE(m.icon, MessageIcon::Question);
            QCOMPARE(m.buttons, MessageButtons::YesNo);
        }
        QCOMPARE(dialogs->opened.size(), dialogsOpened);
        QCOMPARE(int(session.currentRange), lastRange);
        QCOMPARE(doc.ranges[1].rangeMeasured, quint8(dialogsOpened == 2 ? 1 : 0));
    }

    // The link given up under a set-point ends the run without a question (the link has told
    // the technician); the point the calibrator never got is not stored.
    void linkGivenUpEndsTheRun_data()
    {
        DataColumns<int, int, int, QStringList, QList<int>>("method", "scope", "givenUpAt", "sent",
                                                            "measured");
        DataRow("current range, second set-point", 0, 0, 4,
                QStringList({"C02", "N100.00", "C02", "N200.00"}), QList<int>({1, 0, 0}));
        DataRow("all ranges, second set-point", 0, 1, 4,
                QStringList({"C02", "N100.00", "C02", "N200.00"}), QList<int>({1, 0, 0}));
        DataRow("exact reading, while the operator adjusts", 1, 1, 4,
                QStringList({"C02", "N100.00", "N100.01", "N100.02"}), QList<int>({0, 0, 0}));
    }
    void linkGivenUpEndsTheRun()
    {
        QFETCH(int, method);
        QFETCH(int, scope);
        QFETCH(int, givenUpAt);
        QFETCH(QStringList, sent);
        QFETCH(QList<int>, measured);
        doc.method = CheckMethod(method);
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "400", "mV");
        for (const char* nominal : {"100", "200", "300"})
            SetPoint(r, CountPoints(doc, 0), nominal);
        SetPoint(SetRange(1, RangeFunction::Current, "20", "mA"), 0, "10");
        const MeterPoint second = r.points[1];
        sender.givenUpAt = givenUpAt;
        dialogs->chosenRangeScope = RangeScope(scope);
        const auto adjust = [](ExactReadingControl& c) {
            c.StepUp();
            c.StepUp();
        };
        dialogs->steps = {method == 0 ? DialogStep::Ok("100.1") : DialogStep::Adjust(adjust),
                          DialogStep::Ok("200.1"), DialogStep::Ok("10")};
        procedure->OnMeasure();

        QCOMPARE(sender.sent, sent);
        QCOMPARE(dialogs->opened.size(), 1);
        QVERIFY(messages.messages.isEmpty());
        QList<int> flags;
        for (int j = 0; j < 3; ++j)
            flags << r.points[j].pointMeasured;
        QCOMPARE(flags, measured);
        QCOMPARE(r.points[1].setting, second.setting);
        QCOMPARE(r.points[1].reading, second.reading);
        QCOMPARE(r.points[1].unit, second.unit);
        QCOMPARE(doc.ranges[1].rangeMeasured, quint8(0));
        QCOMPARE(int(session.currentRange), 0);
    }

    void runOnALinkGivenUpBeforeSaysSoOnce()
    {
        SetPoint(SetRange(0, RangeFunction::Voltage, "400", "mV"), 0, "100");
        sender.alive = false;
        procedure->OnMeasure();
        QCOMPARE(messages.Texts(), QStringList{"Brak komunikacji z portem COM."});
        QCOMPARE(dialogs->choices, 0);
        QVERIFY(sender.sent.isEmpty());
        QVERIFY(dialogs->opened.isEmpty());
    }

    void runOverAllRangesVisitsEveryRange()
    {
        doc.method = CheckMethod::ExactReading;
        SetPoint(SetRange(0, RangeFunction::Resistance, "400", "Ohm"), 0, "100");
        SetPoint(SetRange(1, RangeFunction::Current, "20", "mA"), 0, "10");
        SetRange(2, RangeFunction::Voltage, "2", "V"); // nothing marked
        session.currentRange = 0;
        dialogs->chosenRangeScope = RangeScope::All;
        dialogs->steps = {DialogStep::Ok(), DialogStep::Ok()};
        procedure->OnMeasure();
        QCOMPARE(dialogs->choices, 1);
        QCOMPARE(sender.sent, QStringList({"C120", "N100.00", "C06", "N10.000"}));
        QCOMPARE(grid->calls, QStringList({"row 1", "fill 0", "row 2", "fill 0", "row 1", "fill 1",
                                           "row 2", "fill 1", "fill 2"}));
        QCOMPARE(int(session.currentRange), 2);
    }

    // A calibrator past its due date: one question for the whole run, after the choice; "Nie"
    // sends nothing, "Tak" measures every range and the run's records say so.
    void overdueCalibratorAskedOncePerRun_data()
    {
        DataColumns<int, bool, QStringList>("answer", "overdue", "sent");
        DataRow("go on", int(MessageAnswer::Yes), true,
                QStringList({"C02", "N100.00", "C02", "N200.00"}));
        DataRow("do not start", int(MessageAnswer::No), false, QStringList());
    }
    void overdueCalibratorAskedOncePerRun()
    {
        QFETCH(int, answer);
        QFETCH(bool, overdue);
        QFETCH(QStringList, sent);
        LabPolicy policy;
        policy.calibrator.dueOn = QDate::currentDate().addDays(-1);
        policy.SaveToSettings();
        SetPoint(SetRange(0, RangeFunction::Voltage, "400", "mV"), 0, "100");
        SetPoint(SetRange(1, RangeFunction::Voltage, "400", "mV"), 0, "200");
        dialogs->chosenRangeScope = RangeScope::All;
        dialogs->steps = {DialogStep::Ok("100.1"), DialogStep::Ok("200.1")};
        messages.answers = {MessageAnswer(answer)};
        procedure->OnMeasure();

        QCOMPARE(messages.messages.size(), 1);
        QVERIFY(messages.messages[0].text.startsWith("Termin wzorcowania kalibratora upłynął"));
        QCOMPARE(sender.sent, sent);
        QCOMPARE(procedure->CalibratorOverdue(), overdue);
        RunContext context;
        context.calibratorOverdue = procedure->CalibratorOverdue();
        const QList<CheckRecord> records =
            BuildCheckRecords(doc, procedure->MeasuredRanges(), context);
        QCOMPARE(records.size(), overdue ? 2 : 0);
        for (const CheckRecord& r : records)
            QVERIFY(r.calibratorOverdue);

        // The next run with the calibrator in date asks nothing and is not marked.
        policy.calibrator.dueOn = QDate::currentDate();
        policy.SaveToSettings();
        messages.Reset();
        dialogs->steps = {DialogStep::Ok("100.1"), DialogStep::Ok("200.1")};
        procedure->OnMeasure();
        QVERIFY(messages.messages.isEmpty());
        QVERIFY(!procedure->CalibratorOverdue());
    }

    void cancelledChoiceDoesNothing()
    {
        SetPoint(SetRange(0, RangeFunction::Voltage, "400", "mV"), 0, "100");
        procedure->rangeScope = RangeScope::All;
        dialogs->chooseOk = false;
        dialogs->chosenRangeScope = RangeScope::Current;
        procedure->OnMeasure();
        QCOMPARE(procedure->rangeScope, RangeScope::All);
        QVERIFY(sender.sent.isEmpty());
        QVERIFY(dialogs->opened.isEmpty());
    }

    void permissibleErrorOf400mVRange()
    {
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "400", "mV");
        r.classReading = "0.05";
        r.classRange = "0.1";
        r.constTerm = "0.01";
        r.constUnit = "mV";
        MeterPoint& p = SetPoint(r, 0, "200");
        dialogs->steps = {DialogStep::Ok("200.000")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(sender.sent, QStringList({"C02", "N200.00"}));
        QCOMPARE(DecimalsForFunction(r.calFunction), 2);
        QCOMPARE(p.permissibleError, "0.51");
        QCOMPARE(p.actualError, "0.00");
        QCOMPARE(p.calibratorError, "0.10");
    }

    void emptyIndicationGivesZero()
    {
        MeterPoint& p = SetPoint(SetRange(0, RangeFunction::Voltage, "50", "mV"), 0, "20");
        dialogs->steps = {DialogStep::Ok("")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(p.reading, "0.000");
        QCOMPARE(p.setting, "20.000");
        QCOMPARE(p.actualError, "-20.000");
    }

    void exactReadingStoresTheOutput()
    {
        doc.method = CheckMethod::ExactReading;
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "400", "mV");
        r.classRange = "0.1";
        MeterPoint& p = SetPoint(r, 0, "100");
        dialogs->steps = {DialogStep::Adjust([](ExactReadingControl& c) {
            c.StepUp();
            c.SelectDigit(2);
            c.StepDown();
        })};
        QCOMPARE(procedure->MeasureRangeExactReading(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(sender.sent, QStringList({"C02", "N100.00", "N100.01", "N99.91"}));
        QCOMPARE(p.setting, "99.91");
        QCOMPARE(p.reading, "100.00");
        QCOMPARE(p.actualError, "0.09");
        QCOMPARE(p.permissibleError, "0.40");
        QCOMPARE(p.unit, "mV");
    }

    void exactReadingAbortClearsTheSetting()
    {
        doc.method = CheckMethod::ExactReading;
        MeterPoint& p = SetPoint(SetRange(0, RangeFunction::Voltage, "400", "mV"), 0, "100");
        QCOMPARE(procedure->MeasureRangeExactReading(0, PointScope::Marked), Result::AbortedRange);
        QCOMPARE(p.reading, "100");
        QVERIFY(p.setting.isEmpty());
        QVERIFY(p.unit.isEmpty());
    }

    void thermocoupleSelectionAndCalibratorError()
    {
        MeterRange& r = SetRange(0, RangeFunction::Thermocouple, "1000", "°C");
        r.sensorName = "K (NiCr-NiAl)";
        r.coldJunction = ColdJunction::Tex;
        MeterPoint& p = SetPoint(r, 0, "500");
        dialogs->steps = {DialogStep::Ok("500.4")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(sender.sent, QStringList({"C62", "N500.0"}));
        QCOMPARE(p.unit, "°C");
        QCOMPARE(p.calibratorError, "1.4"); // 500 × 0.0003 + 0.4 + 0.8
    }

    // Mend: a point no calibrator function can produce is skipped, untouched.
    void pointWithoutFunctionIsSkipped()
    {
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "20", "V");
        MeterPoint& far = SetPoint(r, 0, "15");
        SetPoint(r, 1, "1");
        const MeterPoint before = far;
        dialogs->steps = {DialogStep::Ok("1.001")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(messages.Texts(),
                 QStringList({"Nastawa przekracza maksymalny zakres kalibratora."}));
        QCOMPARE(sender.sent, QStringList({"C03", "N1.0000"}));
        QCOMPARE(dialogs->opened.size(), 1);
        QCOMPARE(dialogs->opened.at(0).point, 1);
        QCOMPARE(far.setting, before.setting);
        QVERIFY(far.unit.isEmpty());
        QCOMPARE(far.pointMeasured, quint8(0));
        QCOMPARE(r.calFunction, qint16(2));
    }

    void measuredPointWithoutFunctionKeepsItsMeasurement()
    {
        MeterRange& r = SetRange(0, RangeFunction::Thermocouple, "1000", "°C");
        r.sensorName = "J (Fe-CuNi)";
        r.coldJunction = ColdJunction::Tin;
        MeterPoint& p = SetPoint(r, 0, "300");
        dialogs->steps = {DialogStep::Ok("300.2")};
        procedure->MeasureRangeExactSetting(0, PointScope::Marked);
        const MeterPoint measured = p;
        r.sensorName = "X"; // no longer in the catalogue
        sender.sent.clear();
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::NoPointTaken);
        QVERIFY(sender.sent.isEmpty());
        QCOMPARE(dialogs->opened.size(), 1);
        QCOMPARE(p.setting, measured.setting);
        QCOMPARE(p.reading, measured.reading);
        QCOMPARE(p.unit, measured.unit);
        QCOMPARE(r.calFunction, qint16(10));
    }

    // Mend: a value that would not fit its 7-character field keeps fewer decimals.
    void producedValuesFitTheirField()
    {
        MeterRange& r = SetRange(0, RangeFunction::Voltage, "10", "V");
        MeterPoint& p = SetPoint(r, 0, "0.05");
        dialogs->steps = {DialogStep::Ok("12.5")}; // volts, while 50 mV was set
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(p.reading, "12500.0");
        QCOMPARE(p.actualError, "12450.0");
        for (const QString& v :
             {p.reading, p.setting, p.actualError, p.permissibleError, p.calibratorError})
            QVERIFY2(v.size() <= 7, qPrintable(v));
    }

    void lastSlotSelectsNoRowBeyondTheGrid()
    {
        MeterRange& r = SetRange(0, RangeFunction::Current, "20", "mA");
        SetPoint(r, 49, "5");
        dialogs->steps = {DialogStep::Ok("5")};
        QCOMPARE(procedure->MeasureRangeExactSetting(0, PointScope::Marked), Result::Confirmed);
        QCOMPARE(grid->calls, QStringList({"row 50", "fill 0", "row 50"}));
    }
};

QTEST_GUILESS_MAIN(TestProcedure)
#include "tst_procedure.moc"
