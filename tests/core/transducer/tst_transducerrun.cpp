// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "TransducerTestDocs.h"
#include "TransmitterSender.h"
#include "VirtualRunClock.h"
#include "core/link/CalFunctionTable.h"
#include "core/transducer/TransducerRun.h"

#include <QTest>

#include <cmath>

using namespace TransducerTestDocs;
Q_DECLARE_METATYPE(TransducerDoc)

namespace {

struct RunRig
{
    RunRig()
    {
        run.readingTaken = [this](const LiveReading& r) { readings << r; };
        run.pointMeasured = [this](const TransducerPointResult& p) { points << p; };
        run.finished = [this](RunEnd end) { ends << end; };
    }
    VirtualRunClock clock;
    TransmitterSender sender{clock};
    TransducerRun run{sender, clock};
    QList<LiveReading> readings;
    QList<TransducerPointResult> points;
    QList<RunEnd> ends;
};

TransducerDoc ThreePoints()
{
    TransducerDoc doc = ThermocoupleK();
    doc.points = {0, 50, 100};
    doc.settlingSeconds = 1;
    doc.readingsAveraged = 2;
    return doc;
}

const QStringList pointFrames = {QStringLiteral("P"), QStringLiteral("P"), QStringLiteral("P"),
                                 QStringLiteral("P")};

} // namespace

class TestTransducerRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void selection_data()
    {
        DataColumns<TransducerDoc, QStringList>("doc", "commands");
        TransducerDoc fixedJunction = ThermocoupleK();
        fixedJunction.input.coldJunction = ColdJunction::To;
        fixedJunction.input.referenceTemperature = 20;
        TransducerDoc rtd = ThermocoupleK();
        rtd.input = {14, ColdJunction::Tex, 0, QStringLiteral("1.5"), 0, 100};
        TransducerDoc voltageOut = SquareRoot();
        voltageOut.output = {QStringLiteral("25V"), 0, 10};
        DataRow("K, junction inside", ThermocoupleK(), QStringList{"C42", "M06", "S1"});
        DataRow("K, junction at To", fixedJunction, QStringList{"C22", "T20.0", "M06", "S1"});
        DataRow("Pt100 with RL", rtd, QStringList{"C82", "R1.5", "M06", "S1"});
        DataRow("current in, voltage out", voltageOut, QStringList{"C06", "M04", "S1"});
    }
    void selection()
    {
        QFETCH(TransducerDoc, doc);
        QFETCH(QStringList, commands);
        QCOMPARE(TransducerRun::SelectionCommands(doc), commands);
    }

    // Each point: the set-point in the function's unit and decimals, polls every 500 ms, the
    // two readings asked for once the settling second is over averaged.
    void framesAndTiming()
    {
        RunRig rig;
        rig.run.Start(ThreePoints());
        rig.clock.RunFor(60000);

        QCOMPARE(rig.sender.sent, QStringList({"C42", "M06", "S1", "N0.0"}) + pointFrames +
                                      QStringList{"N250.0"} + pointFrames + QStringList{"N500.0"} +
                                      pointFrames);
        QCOMPARE(rig.sender.times.mid(3),
                 QList<qint64>({0, 0, 500, 1000, 1500, 1500, 1500, 2000, 2500, 3000, 3000, 3000,
                                3500, 4000, 4500}));
        QCOMPARE(rig.ends, QList<RunEnd>{RunEnd::Completed});
        QCOMPARE(rig.points.size(), 3);
        QCOMPARE(rig.run.Result().points.size(), 3);
        QCOMPARE(rig.points[1].expected, 12.0);
        QCOMPARE(rig.points[1].measured, 12.0);
        QCOMPARE(rig.points[2].verdict, PointVerdict::Pass);
        QVERIFY(!rig.run.Active());
        QVERIFY(rig.clock.Idle());
    }

    // What the output shows while it settles is seen live but not averaged.
    void settlingNotAveraged()
    {
        RunRig rig;
        int polls = 0;
        rig.sender.output = [&polls](double, qint64 now) {
            ++polls;
            return now < 1000 ? 5.0 : (polls % 2 ? 12.01 : 12.03);
        };
        TransducerDoc doc = ThreePoints();
        doc.points = {50};
        rig.run.Start(doc);
        rig.clock.RunFor(10000);

        QCOMPARE(rig.readings.size(), 4);
        QCOMPARE(rig.readings[0].value, 5.0);
        QVERIFY(qAbs(rig.readings[0].errorPercent - (5.0 - 12.0) / 16 * 100) < 1e-9);
        QCOMPARE(rig.points.size(), 1);
        QVERIFY(qAbs(rig.points[0].measured - 12.02) < 1e-9);
        QVERIFY(qAbs(rig.points[0].errorPercent - 0.125) < 1e-9);
    }

    void linkLostKeepsPointsMeasured()
    {
        RunRig rig;
        rig.sender.givenUpAt = 14; // the third set-point: 3 selections, 5 frames a point
        rig.run.Start(ThreePoints());
        rig.clock.RunFor(60000);

        QCOMPARE(rig.sender.sent.size(), 14);
        QCOMPARE(rig.sender.sent.last(), QStringLiteral("N500.0"));
        QCOMPARE(rig.ends, QList<RunEnd>{RunEnd::LinkLost});
        QCOMPARE(rig.run.Result().points.size(), 2);
        QCOMPARE(rig.run.Result().end, RunEnd::LinkLost);
    }

    void linkAlreadyLost()
    {
        RunRig rig;
        rig.sender.alive = false;
        rig.run.Start(ThreePoints());
        rig.clock.RunFor(60000);
        QCOMPARE(rig.sender.sent, QStringList({"C42", "M06", "S1"}));
        QCOMPARE(rig.ends, QList<RunEnd>{RunEnd::LinkLost});
        QVERIFY(rig.run.Result().IsEmpty());
    }

    void operatorStopKeepsPointsMeasured()
    {
        RunRig rig;
        rig.run.Start(ThreePoints());
        rig.clock.AdvanceTo(2000); // in the second point's settling
        rig.run.Stop();
        const int sent = rig.sender.sent.size();
        rig.clock.RunFor(60000);

        QCOMPARE(rig.sender.sent.size(), sent);
        QCOMPARE(rig.ends, QList<RunEnd>{RunEnd::Stopped});
        QCOMPARE(rig.run.Result().points.size(), 1);
        QCOMPARE(rig.run.Result().end, RunEnd::Stopped);
    }

    void overRangeReadingFailsThePoint()
    {
        RunRig rig;
        int polls = 0;
        rig.sender.output = [&polls](double, qint64) { return ++polls == 4 ? qInf() : 20.0; };
        TransducerDoc doc = ThreePoints();
        doc.points = {100};
        rig.run.Start(doc);
        rig.clock.RunFor(10000);
        QCOMPARE(rig.points.size(), 1);
        QCOMPARE(rig.points[0].verdict, PointVerdict::OutOfRange);
        QVERIFY(rig.readings.last().outOfRange);
    }

    // Adjustment: the source held at 0 % then at 100 %, the output polled without end.
    void holdForAdjustment()
    {
        RunRig rig;
        rig.sender.output = [](double setpoint, qint64) { return 4.08 + setpoint / 500 * 16; };
        const TransducerDoc doc = ThreePoints();
        rig.run.Hold(doc, 0);
        rig.clock.AdvanceTo(2000);
        QCOMPARE(rig.sender.sent,
                 QStringList({"C42", "M06", "S1", "N0.0", "P", "P", "P", "P", "P"}));
        QVERIFY(qAbs(rig.readings.last().errorPercent - 0.5) < 1e-9);

        rig.run.Hold(doc, 100);
        rig.clock.AdvanceTo(3000);
        QCOMPARE(rig.sender.sent.mid(9), QStringList({"N500.0", "P", "P", "P"}));
        QCOMPARE(rig.readings.last().expected, 20.0);
        QVERIFY(rig.run.Holding());
        QVERIFY(rig.points.isEmpty());

        rig.run.Stop();
        rig.clock.RunFor(5000);
        QCOMPARE(rig.sender.sent.size(), 13);
        QCOMPARE(rig.ends, QList<RunEnd>{RunEnd::Stopped});
    }
};

QTEST_GUILESS_MAIN(TestTransducerRun)
#include "tst_transducerrun.moc"
