// SPDX-License-Identifier: MIT
// Source programs through the program's link against the simulated calibrator on virtual
// time, an alarm unit on its measure side: the frames in order, the trip and reset points
// against the unit's thresholds, a link given up mid-ramp. r718-run's test runs a program
// against r718-sim on its pseudo-terminal.

#include "SimulatedCalibrator.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/LinkSession.h"
#include "core/program/ProgramRun.h"
#include "core/transducer/RunClock.h"

#include <QTest>

#include <map>

namespace {

// A staircase 10 → 14 → 10 mA in 1 mA steps, each held for a set-point and one poll.
ProgramDoc Staircase()
{
    ProgramDoc doc;
    doc.measureRange = QStringLiteral("25V");
    doc.trip = {true, TripDirection::RisesAbove, 5};
    ProgramSegment s;
    s.kind = SegmentKind::Staircase;
    s.from = 10;
    s.to = 14;
    s.step = 1;
    s.dwellSeconds = 1.3;
    doc.segments << s;
    return doc;
}

// The run's time is the link's: the dwell and the polls' pace are counted on the clock the
// transactions take their time from, and what falls due is called once the link has carried
// out all it was sent, the link's clock moved to its time.
class LinkTimeRunClock : public RunClock
{
public:
    explicit LinkTimeRunClock(VirtualClock& link) : link(link) {}
    qint64 NowMs() const override { return link.now; }
    void CallAfter(qint64 ms, std::function<void()> due) override
    {
        pending.emplace(link.now + qMax<qint64>(ms, 0), std::move(due));
    }
    // Calls the earliest of what is pending; false when nothing is.
    bool CallNext()
    {
        if (pending.empty())
            return false;
        auto first = pending.begin();
        link.now = qMax(link.now, first->first);
        std::function<void()> due = std::move(first->second);
        pending.erase(first);
        due();
        return true;
    }

private:
    VirtualClock& link;
    std::multimap<qint64, std::function<void()>> pending;
};

// The unit trips at 12.5 mA rising and resets at 11.5 mA falling; its contact reads 0 or 10 V.
struct ProgramSim : SimulatedLink
{
    ProgramSim()
    {
        unitSet = Control(QStringLiteral("transmitter in=4:20 out=0:10 switch=12.5:11.5")) &&
                  Control(QStringLiteral("noise off"));
        run.finished = [this](ProgramEnd end) { ends << end; };
    }
    bool Open()
    {
        bool opened = false;
        session.Open(1, [&opened](bool ok) { opened = ok; });
        return QTest::qWaitFor([&] { return opened; }, 5000);
    }
    // Runs the program to its end; false when it stopped short of one.
    bool RunToEnd(const ProgramDoc& doc)
    {
        run.Start(doc);
        session.WaitUntilSent();
        while (ends.isEmpty() && runClock.CallNext())
            session.WaitUntilSent();
        return !ends.isEmpty();
    }

    bool unitSet = false;
    LinkSession session{link};
    LinkTimeRunClock runClock{clock};
    ProgramRun run{session, runClock};
    QList<ProgramEnd> ends;
};

} // namespace

class TestProgramSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void framesAndTripPoints()
    {
        ProgramSim sim;
        QVERIFY(sim.unitSet);
        QVERIFY(sim.Open());
        QVERIFY(sim.RunToEnd(Staircase()));

        QCOMPARE(sim.ends, QList<ProgramEnd>{ProgramEnd::Completed});
        QStringList expected{"^C06%", "^M04%", "^S1%"};
        for (const char* value : {"10", "11", "12", "13", "14", "13", "12", "11", "10"})
            expected << QStringLiteral("^N%1.000%").arg(QLatin1String(value)) << "^P%";
        QCOMPARE(sim.Frames(), expected);
        const QList<TripPoint> trips = TripPoints::FromLog(sim.run.Log().entries);
        QCOMPARE(trips.size(), 1);
        QCOMPARE(trips[0].trip, 13.0);
        QCOMPARE(*trips[0].reset, 11.0);
        QVERIFY(sim.messages.messages.isEmpty());
    }

    void linkGivenUpMidRamp()
    {
        ProgramSim sim;
        QVERIFY(sim.unitSet);
        QVERIFY(sim.Open());
        sim.run.logged = [&sim](const ProgramLogEntry& e) {
            if (e.kind == ProgramLogEntry::Kind::Reading && e.sourceText == QLatin1String("12.000"))
                sim.Control(QStringLiteral("silence forever"));
        };
        QVERIFY(sim.RunToEnd(Staircase()));
        QCOMPARE(sim.ends, QList<ProgramEnd>{ProgramEnd::LinkLost});
        QCOMPARE(sim.run.Log().entries.size(), 6); // three set-points and their readings
        QVERIFY(sim.messages.OnlyError(QStringLiteral("Brak komunikacji z portem COM.")));
    }
};

QTEST_GUILESS_MAIN(TestProgramSim)
#include "tst_program_sim.moc"
