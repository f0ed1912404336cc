// SPDX-License-Identifier: MIT
// Whole verification runs against the simulated calibrator on virtual time by the
// exact-setting method, the real dialogs answered as an operator would, the frames checked on
// the wire. The meter check window is left out: a recording points grid stands in for its
// ranges page.

#include "DocumentBuilder.h"
#include "OperatorHand.h"
#include "ProcedureScript.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"
#include "SimulatedCalibrator.h"

#include "core/link/CalFunctionTable.h"
#include "core/link/LinkSession.h"
#include "core/metercheck/run/MeasureProcedure.h"
#include "core/metercheck/run/PointErrors.h"
#include "ui/metercheck/charts/CErrorsChartPage.h"
#include "ui/metercheck/charts/CPointsChartPage.h"
#include "ui/metercheck/run/MeasurementDialogs.h"

#include <QTest>

#include <memory>

class TestProcSim : public QObject
{
    Q_OBJECT

    ScopedDocument session;
    MeterCheckDoc& doc = session.document;
    std::unique_ptr<SimulatedLink> sim;
    std::unique_ptr<LinkSession> linkSession;

    // Runs the "Pomiary" command on the document as it stands, until the link has carried out
    // all it was sent.
    void RunMeasurement(QWidget& window, RecordingPointsGrid& grid)
    {
        MeasurementDialogs dialogs(session, &window, *linkSession, sim->messages);
        MeasureProcedure(session, dialogs, grid, *linkSession, sim->messages).OnMeasure();
        linkSession->WaitUntilSent();
    }

private slots:
    void init()
    {
        FillCalFunctionTable();
        sim = std::make_unique<SimulatedLink>();
        linkSession = std::make_unique<LinkSession>(sim->link);
        linkSession->Open(1);
        session.Reset();
    }
    void cleanup()
    {
        linkSession.reset();
        sim.reset();
    }

    void exactSettingOverAllRanges()
    {
        VoltsAndAmps(doc);

        // What the operator reads off the meter, point after point.
        OperatorHand hand(true, false, {"100.05", "300.5", "4.003", "11,98", "20.1"});
        QWidget window;
        RecordingPointsGrid grid;
        RecordingMessageService& messages = sim->messages;
        messages.Reset();
        RunMeasurement(window, grid);

        QVERIFY(messages.messages.isEmpty());
        QVERIFY(hand.indications.isEmpty());
        QCOMPARE(sim->Frames(),
                 QStringList({"^C02%", "^N100.00%", "^C02%", "^N300.00%", "^C06%", "^N4.000%",
                              "^C06%", "^N12.000%", "^C06%", "^N20.000%"}));
        QCOMPARE(hand.descriptions,
                 QStringList({"Pomiar napięcia 100.00", "Pomiar napięcia 300.00",
                              "Pomiar prądu 4.000", "Pomiar prądu 12.000", "Pomiar prądu 20.000"}));
        QCOMPARE(int(session.currentRange), 1);
        QVERIFY(session.IsModified());

        const MeterRange& volts = doc.ranges[0];
        QCOMPARE(volts.rangeMeasured, quint8(1));
        QCOMPARE(volts.points[1].reading, "300.50");
        QCOMPARE(volts.points[1].setting, "300.00");
        QCOMPARE(volts.points[1].actualError, "0.50");
        QCOMPARE(volts.points[1].permissibleError, "0.40");
        QCOMPARE(volts.points[1].calibratorError, "0.13");
        QVERIFY(ErrorExceedsPermissible(volts.points[1]));
        QVERIFY(!ErrorExceedsPermissible(volts.points[0]));
        const MeterRange& amps = doc.ranges[1];
        QCOMPARE(amps.points[1].reading, "11.980");
        QCOMPARE(amps.points[1].actualError, "-0.020");
        QCOMPARE(amps.points[2].actualError, "0.100");
        QCOMPARE(amps.points[2].permissibleError, "0.020");
        QCOMPARE(amps.points[2].unit, "mA");
        QCOMPARE(grid.calls.last(), "fill 1");

        CPointsChartPage points(doc, messages, &window);
        CErrorsChartPage errors(doc, messages, &window);
        QVERIFY(points.DrawChart(0));
        QCOMPARE(points.Data().axisMax, 321.535);
        QVERIFY(errors.DrawChart(1));
        QCOMPARE(errors.Data().series[0].values, QList<double>({0.003, -0.02, 0.1}));
    }

    // A kilo-ohm range stays on the 400 ohm function for every point up to 400 ohm, also after
    // its first point was measured and holds ohms.
    void kiloOhmRangeOverAllPoints()
    {
        DocumentBuilder(doc)
            .Range(0, RangeFunction::Resistance, "4", "kOhm")
            .ClassRange("0.1")
            .Nominals({"0.1", "0.25", "0.4"});
        OperatorHand hand(false, true, {"0.1001", "0.2497", "0.4003"});
        QWidget window;
        RecordingPointsGrid grid;
        RecordingMessageService& messages = sim->messages;
        messages.Reset();
        RunMeasurement(window, grid);

        QVERIFY(messages.messages.isEmpty());
        QVERIFY(hand.indications.isEmpty());
        QCOMPARE(sim->Frames(), QStringList({"^C120%", "^N100.00%", "^C120%", "^N250.00%", "^C120%",
                                             "^N400.00%"}));
        QStringList stored;
        for (const MeterPoint& p : std::as_const(doc.ranges[0].points))
            if (p.pointMeasured)
                stored << p.setting + " " + p.reading + " " + p.unit + " " + p.calibratorError;
        QCOMPARE(stored, QStringList({"100.00 100.10 Ohm 0.14", "250.00 249.70 Ohm 0.17",
                                      "400.00 400.30 Ohm 0.20"}));
        QCOMPARE(doc.ranges[0].calFunction, qint16(5));
    }

    // The calibrator stops answering while the first point is read off the meter: the next
    // point's selection gives the link up, with its one message, and the run ends there.
    void linkGivenUpEndsTheRun()
    {
        DocumentBuilder(doc)
            .Range(0, RangeFunction::Voltage, "400", "mV")
            .ClassRange("0.1")
            .Nominals({"100", "300"})
            .Range(1, RangeFunction::Current, "20", "mA")
            .ClassRange("0.1")
            .Nominals({"4"});
        OperatorHand hand(true, false, {"100.05", "300.5", "4.003"},
                          [this] { QVERIFY(sim->Control("nak 1000")); });
        QWidget window;
        RecordingPointsGrid grid;
        RecordingMessageService& messages = sim->messages;
        messages.Reset();
        RunMeasurement(window, grid);

        QCOMPARE(messages.Texts(), QStringList{"Brak komunikacji z portem COM."});
        QCOMPARE(hand.descriptions, QStringList{"Pomiar napięcia 100.00"});
        const QStringList frames = sim->Frames();
        QCOMPARE(frames.mid(0, 3), QStringList({"^C02%", "^N100.00%", "^C02%"}));
        QVERIFY(!frames.contains("^N300.00%") && !frames.contains("^C06%"));
        const MeterRange& volts = doc.ranges[0];
        QCOMPARE(volts.points[0].pointMeasured, quint8(1));
        QCOMPARE(volts.points[1].pointMeasured, quint8(0));
        QCOMPARE(volts.points[1].setting, "300");
        QVERIFY(volts.points[1].reading.isEmpty());
        QCOMPARE(doc.ranges[1].rangeMeasured, quint8(0));
        QCOMPARE(int(session.currentRange), 0);
    }
};

QTEST_MAIN(TestProcSim)
#include "tst_procsim.moc"
