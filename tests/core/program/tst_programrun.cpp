// SPDX-License-Identifier: MIT
// The run of a source program on virtual time: the frames and their times, the trip points of
// a switch with a deadband, pause and resume, stop, a link given up.

#include "DataRows.h"
#include "TransmitterSender.h"
#include "VirtualRunClock.h"
#include "core/link/CalFunctionTable.h"
#include "core/program/ProgramRun.h"

#include <QTest>

namespace {

ProgramSegment Hold(double value, double seconds)
{
    ProgramSegment s;
    s.from = value;
    s.dwellSeconds = seconds;
    return s;
}

ProgramSegment Course(SegmentKind kind, double from, double to, double step, double dwell)
{
    ProgramSegment s;
    s.kind = kind;
    s.from = from;
    s.to = to;
    s.step = step;
    s.dwellSeconds = dwell;
    return s;
}

ProgramSegment Repeat(int first, int times)
{
    ProgramSegment s;
    s.kind = SegmentKind::Repeat;
    s.firstSegment = first;
    s.times = times;
    return s;
}

// Current sourced, voltage measured.
ProgramDoc CurrentToVoltage(QList<ProgramSegment> segments)
{
    ProgramDoc doc;
    doc.measureRange = QStringLiteral("25V");
    doc.segments = std::move(segments);
    return doc;
}

// An alarm unit on a 4-20 mA loop: its contact output reads 10 V once the current has risen
// to 12.5 mA and 0 V again once it has fallen to 11.5 mA.
struct AlarmUnit
{
    double operator()(double milliamps, qint64)
    {
        if (milliamps >= 12.5)
            on = true;
        else if (milliamps <= 11.5)
            on = false;
        return on ? 10.0 : 0.0;
    }
    bool on = false;
};

struct RunRig
{
    RunRig()
    {
        run.logged = [this](const ProgramLogEntry& e) { entries << e; };
        run.finished = [this](ProgramEnd end) { ends << end; };
        run.wallClock = [] { return QDateTime(QDate(2026, 3, 2), QTime(8, 0)); };
        sender.output = AlarmUnit();
    }
    QList<qint64> SetTimes() const
    {
        QList<qint64> times;
        for (int i = 0; i < sender.sent.size(); ++i) {
            if (sender.sent[i].startsWith(QLatin1Char('N')))
                times << sender.times[i];
        }
        return times;
    }
    VirtualRunClock clock;
    TransmitterSender sender{clock};
    ProgramRun run{sender, clock};
    QList<ProgramLogEntry> entries;
    QList<ProgramEnd> ends;
};

} // namespace

class TestProgramRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FillCalFunctionTable(); }

    void plannedCourse_data()
    {
        DataColumns<ProgramSegment, QStringList>("segment", "texts");
        DataRow("hold", Hold(12, 3), QStringList{"12.000"});
        DataRow("ramp, whole steps", Course(SegmentKind::Ramp, 4, 6, 1, 2),
                QStringList{"4.000", "5.000", "6.000"});
        DataRow("ramp down, a shorter last step", Course(SegmentKind::Ramp, 6, 4.5, 0.4, 2),
                QStringList{"6.000", "5.600", "5.200", "4.800", "4.500"});
        DataRow("staircase up and down", Course(SegmentKind::Staircase, 4, 6, 1, 2),
                QStringList{"4.000", "5.000", "6.000", "5.000", "4.000"});
        DataRow("decimal steps do not drift", Course(SegmentKind::Ramp, 0, 0.3, 0.1, 2),
                QStringList{"0.000", "0.100", "0.200", "0.300"});
    }
    void plannedCourse()
    {
        QFETCH(ProgramSegment, segment);
        QFETCH(QStringList, texts);
        const ProgramPlan plan = ProgramCourse::Plan(CurrentToVoltage({segment}));
        QStringList got;
        for (const PlannedStep& s : plan.steps)
            got << s.text;
        QCOMPARE(got, texts);
        QCOMPARE(plan.totalMs, qint64(std::llround(segment.dwellSeconds * 1000)) * texts.size());
    }

    // A group of two segments run three times: the steps repeat with their run numbered.
    void repeatExpands()
    {
        const ProgramPlan plan = ProgramCourse::Plan(CurrentToVoltage(
            {Hold(1, 1.5), Hold(2, 1.5), Course(SegmentKind::Ramp, 3, 4, 1, 1.5), Repeat(1, 3)}));
        QStringList got;
        QList<int> passes;
        for (const PlannedStep& s : plan.steps) {
            got << s.text;
            passes << s.pass;
        }
        QCOMPARE(got, QStringList({"1.000", "2.000", "3.000", "4.000", "2.000", "3.000", "4.000",
                                   "2.000", "3.000", "4.000"}));
        QCOMPARE(passes, QList<int>({0, 0, 0, 0, 1, 1, 1, 2, 2, 2}));
        QCOMPARE(plan.totalMs, 15000);
        QCOMPARE(plan.steps[7].startMs, 10500);
    }

    // The selection, then each set-point at its planned time and the polls between them every
    // 500 ms, never one that could not be answered (460 ms) before the next set-point is due.
    void framesInOrderAtTheirTimes()
    {
        RunRig rig;
        rig.run.Start(CurrentToVoltage({Hold(2, 1.2), Course(SegmentKind::Ramp, 4, 5, 1, 1.2)}));
        rig.clock.RunFor(60000);

        const QStringList poll2{"P", "P"};
        QCOMPARE(rig.sender.sent, QStringList({"C06", "M04", "S1", "N2.000"}) + poll2 +
                                      QStringList{"N4.000"} + poll2 + QStringList{"N5.000"} +
                                      poll2);
        QCOMPARE(rig.sender.times.mid(3),
                 QList<qint64>({0, 0, 500, 1200, 1200, 1700, 2400, 2400, 2900}));
        QCOMPARE(rig.ends, QList<ProgramEnd>{ProgramEnd::Completed});
        QCOMPARE(rig.run.RemainingMs(), 0);
        QCOMPARE(rig.entries.size(), 9);
        QCOMPARE(rig.entries[1].kind, ProgramLogEntry::Kind::Reading);
        QCOMPARE(rig.entries[1].sourceText, QStringLiteral("2.000"));
        QCOMPARE(rig.entries[1].readingText, QStringLiteral("0.000"));
        QCOMPARE(rig.entries[4].ms, 1200);
        for (const StepTiming& t : rig.run.Timings())
            QCOMPARE(t.sentMs, t.plannedMs);
        QVERIFY(rig.clock.Idle());
    }

    // A staircase 4 → 20 → 4 mA run twice through the alarm unit: it trips at the first step
    // at or above 12.5 mA and resets at the first at or below 11.5 mA, each time.
    void tripAndResetPoints()
    {
        RunRig rig;
        ProgramDoc doc =
            CurrentToVoltage({Course(SegmentKind::Staircase, 4, 20, 1, 2), Repeat(0, 2)});
        doc.trip = {true, TripDirection::RisesAbove, 5};
        rig.run.Start(doc);
        rig.clock.RunFor(200000);

        QCOMPARE(rig.ends, QList<ProgramEnd>{ProgramEnd::Completed});
        const QList<TripPoint> trips = TripPoints::FromLog(rig.run.Log().entries);
        QCOMPARE(trips.size(), 2);
        for (int pass = 0; pass < 2; ++pass) {
            QCOMPARE(trips[pass].trip, 13.0);
            QCOMPARE(trips[pass].reset, 11.0);
            QCOMPARE(trips[pass].Deadband(), 2.0);
            QCOMPARE(trips[pass].pass, pass);
        }
        QCOMPARE(trips[1].tripMs, 66000 + 9 * 2000);
        const TripSpread spread = TripPoints::Spread(trips);
        QCOMPARE(spread.trips, 2);
        QCOMPARE(spread.TripSpan(), 0.0);
        QCOMPARE(spread.resets, 2);
    }

    // The condition the other way round: a reading that falls below the threshold.
    void fallingTrip()
    {
        RunRig rig;
        rig.sender.output = [](double milliamps, qint64) { return 20 - milliamps; };
        ProgramDoc doc = CurrentToVoltage({Course(SegmentKind::Ramp, 4, 10, 1, 1.5)});
        doc.trip = {true, TripDirection::FallsBelow, 12.5};
        rig.run.Start(doc);
        rig.clock.RunFor(60000);
        const QList<TripPoint> trips = TripPoints::FromLog(rig.run.Log().entries);
        QCOMPARE(trips.size(), 1);
        QCOMPARE(trips[0].trip, 8.0);
        QVERIFY(!trips[0].reset);
    }

    // Paused in the middle of a step: no set-point goes out, the measure half is still read,
    // the time left stands; resumed, the course goes on with its times moved by the pause.
    void pauseAndResume()
    {
        RunRig rig;
        rig.run.Start(CurrentToVoltage({Course(SegmentKind::Ramp, 4, 6, 1, 2)}));
        rig.clock.AdvanceTo(2700);
        rig.run.Pause();
        QCOMPARE(rig.run.CurrentState(), ProgramRun::State::Paused);
        QCOMPARE(rig.run.RemainingMs(), 3300);
        rig.clock.AdvanceTo(12700);
        QCOMPARE(rig.run.RemainingMs(), 3300);
        QCOMPARE(rig.SetTimes(), QList<qint64>({0, 2000}));
        QVERIFY(rig.sender.times.last() >= 12000); // still polled
        rig.run.Resume();
        rig.clock.RunFor(60000);
        QCOMPARE(rig.SetTimes(), QList<qint64>({0, 2000, 14000}));
        QCOMPARE(rig.ends, QList<ProgramEnd>{ProgramEnd::Completed});
        QCOMPARE(rig.run.Timings()[2].plannedMs, 14000);
    }

    // Stopped mid-ramp: the source goes to the safe value and nothing follows.
    void stopSetsTheSafeValue()
    {
        RunRig rig;
        rig.run.Start(CurrentToVoltage({Course(SegmentKind::Ramp, 4, 10, 1, 2)}));
        rig.clock.AdvanceTo(5000);
        rig.run.Stop();
        const QStringList sent = rig.sender.sent;
        rig.clock.RunFor(60000);
        QCOMPARE(rig.sender.sent, sent);
        QCOMPARE(sent.last(), QStringLiteral("N0.000"));
        QCOMPARE(rig.SetTimes(), QList<qint64>({0, 2000, 4000, 5000}));
        QCOMPARE(rig.ends, QList<ProgramEnd>{ProgramEnd::Stopped});
        QCOMPARE(rig.run.Log().entries.last().step, -1);
        QCOMPARE(rig.run.Log().entries.last().sourceText, QStringLiteral("0.000"));
        QVERIFY(!rig.run.Active());
    }

    void safeValue_data()
    {
        DataColumns<int, double>("function", "safe");
        DataRow("current: no output", 4, 0.0);
        DataRow("resistance: 0 Ohm", 5, 0.0);
        DataRow("thermocouple B: its lowest", 9, 200.0);
        DataRow("Pt100: 0 °C", 14, 0.0);
    }
    void safeValue()
    {
        QFETCH(int, function);
        QFETCH(double, safe);
        ProgramSource source;
        source.calFunction = function;
        QCOMPARE(ProgramRun::SafeValue(source), safe);
    }

    // The link given up at the third set-point: the run ends there, nothing more is sent and
    // the log keeps the set-points and readings before.
    void linkGivenUpMidRamp()
    {
        RunRig rig;
        rig.sender.givenUpAt = 3 + 5 + 5 + 1; // selection, two steps of a set-point and 4 polls
        rig.run.Start(CurrentToVoltage({Course(SegmentKind::Ramp, 4, 10, 1, 2)}));
        rig.clock.RunFor(60000);
        QCOMPARE(rig.sender.sent.size(), 14);
        QCOMPARE(rig.sender.sent.last(), QStringLiteral("N6.000"));
        QCOMPARE(rig.ends, QList<ProgramEnd>{ProgramEnd::LinkLost});
        QCOMPARE(rig.run.Log().entries.size(), 10);
        QCOMPARE(rig.run.Log().entries.last().sourceText, QStringLiteral("5.000"));
        QCOMPARE(rig.run.Log().end, ProgramEnd::LinkLost);
        QVERIFY(!rig.run.Active());
    }
};

QTEST_GUILESS_MAIN(TestProgramRun)
#include "tst_programrun.moc"
