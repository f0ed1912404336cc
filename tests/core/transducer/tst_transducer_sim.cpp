// SPDX-License-Identifier: MIT
// Transducer checks through the program's link against the simulated calibrator on virtual
// time, with a transmitter on its measure side. r718-run's test runs a check against r718-sim
// on its pseudo-terminal.

#include "SimulatedCalibrator.h"
#include "TransducerTestDocs.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/LinkSession.h"
#include "core/transducer/RunClock.h"
#include "core/transducer/TransducerMath.h"
#include "core/transducer/TransducerRun.h"

#include <QTest>

namespace {

// The K transmitter, read once per point without settling: two frames a point.
TransducerDoc QuickK()
{
    TransducerDoc doc = TransducerTestDocs::ThermocoupleK();
    doc.settlingSeconds = 0;
    doc.readingsAveraged = 1;
    return doc;
}

// The transmitter set as r718-sim's "transmitter" control line takes it, readings without
// noise.
struct SimRun : SimulatedLink
{
    explicit SimRun(const QString& transmitter)
    {
        transmitterSet = Control(QStringLiteral("transmitter ") + transmitter) &&
                         Control(QStringLiteral("noise off"));
        run.pointMeasured = [this](const TransducerPointResult& p) {
            points << p;
            if (afterPoint)
                afterPoint(int(points.size()));
        };
        run.finished = [this](RunEnd end) { ends << end; };
    }
    bool Open()
    {
        bool opened = false;
        session.Open(1, [&opened](bool ok) { opened = ok; });
        return QTest::qWaitFor([&] { return opened; }, 5000);
    }
    // Runs the definition to its end; false when it did not end in time.
    bool RunToEnd(const TransducerDoc& doc)
    {
        points.clear();
        ends.clear();
        run.Start(doc);
        return QTest::qWaitFor([this] { return !ends.isEmpty(); }, 30000);
    }

    bool transmitterSet = false;
    LinkSession session{link};
    TransducerRun run{session, EventLoopRunClock()};
    QList<TransducerPointResult> points;
    QList<RunEnd> ends;
    std::function<void(int measured)> afterPoint;
};

} // namespace

class TestTransducerSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    // The transmitter reads 0.5 % of span high at zero and loses 0.2 % of span towards full
    // scale: errors 0.50, 0.45, 0.40, 0.35, 0.30 % against a tolerance of 0.25 %. Trimmed, it
    // passes.
    void asFoundFailsAsLeftPassesAfterTrim()
    {
        SimRun sim(QStringLiteral("in=0:500,out=4:20,zero=0.5,span=-0.2"));
        QVERIFY(sim.transmitterSet);
        QVERIFY(sim.Open());
        const TransducerDoc doc = QuickK();

        QVERIFY(sim.RunToEnd(doc));
        QCOMPARE(sim.ends, QList<RunEnd>{RunEnd::Completed});
        QCOMPARE(sim.Frames(),
                 QStringList({"^C42%", "^M06%", "^S1%", "^N0.0%", "^P%", "^N125.0%", "^P%",
                              "^N250.0%", "^P%", "^N375.0%", "^P%", "^N500.0%", "^P%"}));
        const QList<double> errors{0.5, 0.45, 0.4, 0.35, 0.3};
        QCOMPARE(sim.points.size(), errors.size());
        for (int i = 0; i < errors.size(); ++i) {
            QCOMPARE(sim.points[i].expected, 4.0 + 4 * i);
            QVERIFY2(qAbs(sim.points[i].errorPercent - errors[i]) < 1e-9,
                     qPrintable(QString::number(sim.points[i].errorPercent)));
            QCOMPARE(sim.points[i].verdict, PointVerdict::Fail);
        }
        QCOMPARE(TransducerMath::VerdictOf(doc, sim.run.Result()), RunVerdict::Fail);

        QVERIFY(sim.Control(QStringLiteral("transmitter zero=0 span=0")));
        QVERIFY(sim.RunToEnd(doc));
        QCOMPARE(sim.points.size(), 5);
        for (const TransducerPointResult& p : sim.points)
            QCOMPARE(p.errorPercent, 0.0);
        QCOMPARE(TransducerMath::VerdictOf(doc, sim.run.Result()), RunVerdict::Pass);
        QVERIFY(sim.messages.messages.isEmpty());
    }

    void linkLostAtTheThirdPointKeepsTwo()
    {
        SimRun sim(QStringLiteral("in=0:500,out=4:20"));
        QVERIFY(sim.transmitterSet);
        QVERIFY(sim.Open());
        sim.afterPoint = [&sim](int measured) {
            if (measured == 2)
                sim.Control(QStringLiteral("silence forever"));
        };
        QVERIFY(sim.RunToEnd(QuickK()));
        QCOMPARE(sim.ends, QList<RunEnd>{RunEnd::LinkLost});
        QCOMPARE(sim.run.Result().points.size(), 2);
        QCOMPARE(sim.run.Result().points[1].expected, 8.0);
        QVERIFY(sim.messages.OnlyError(QStringLiteral("Brak komunikacji z portem COM.")));
    }
};

QTEST_GUILESS_MAIN(TestTransducerSim)
#include "tst_transducer_sim.moc"
