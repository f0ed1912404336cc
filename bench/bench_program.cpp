// SPDX-License-Identifier: MIT
// A source program's set-points against its plan, at real speed against r718-sim: a staircase
// 4 → 20 → 4 mA in 1 mA steps with the measure half polled between them (an alarm unit on the
// simulator's measure side), each step held `dwell` seconds. For each set-point: how late it
// was posted to the link against its planned time on the run clock, and how late its frame
// began on the wire against the plan. The simulator's clock is not the run's, so the wire
// times are taken against the step that came earliest against the plan (0 for it, the others
// later by as much as their frames strayed); the simulator logs a frame when its last byte has
// come, so its start is 20 ms a byte earlier.
//
//   bench_program [dwell-seconds]   (default 1.2; R718_SIM overrides the simulator built with it)

#include "RecordingMessageService.h"
#include "SimProcess.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"
#include "core/program/ProgramRun.h"
#include "core/program/ProgramValidation.h"
#include "core/transducer/RunClock.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    FillCalFunctionTable();
    if (qEnvironmentVariableIsEmpty("R718_SIM"))
        qputenv("R718_SIM", R718_SIM_DEFAULT);
    const double dwell = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 1.2;

    ProgramDoc doc;
    doc.measureRange = QStringLiteral("25V");
    doc.trip = {true, TripDirection::RisesAbove, 5};
    ProgramSegment s;
    s.kind = SegmentKind::Staircase;
    s.from = 4;
    s.to = 20;
    s.step = 1;
    s.dwellSeconds = dwell;
    doc.segments << s;
    const ProgramProblem problem = CheckProgram(doc);
    if (!problem.IsNone()) {
        std::fprintf(stderr, "bench_program: %s\n", qPrintable(problem.message));
        return 2;
    }

    SimProcess sim;
    if (!sim.Start({QStringLiteral("--transmitter"),
                    QStringLiteral("in=4:20,out=0:10,switch=12.5:11.5"),
                    QStringLiteral("--no-noise")})) {
        std::fprintf(stderr, "bench_program: %s\n", qPrintable(sim.LastError()));
        return 1;
    }
    sim.MapPort(1);
    RecordingMessageService messages;
    CalibratorLink link(messages);
    link.SetPortNumber(1);
    LinkSession session(link);
    QEventLoop loop;
    session.Open(1, [&loop](bool) { loop.quit(); });
    loop.exec();

    ProgramRun run(session, EventLoopRunClock());
    run.finished = [&loop](ProgramEnd) { loop.quit(); };
    run.Start(doc);
    loop.exec();
    session.End();

    std::vector<double> wireAt;
    for (const SimLogEntry& e : sim.Log()) {
        if (e.frame.startsWith(QLatin1String("^N")))
            wireAt.push_back(e.seconds * 1000.0 - double(e.frame.size()) * 20.0);
    }
    const QList<StepTiming>& timings = run.Timings();
    const ProgramPlan& plan = run.Plan();
    std::printf("staircase 4 -> 20 -> 4 mA, 1 mA steps of %.2f s, polled at 25 V: %lld "
                "set-points\n",
                dwell, static_cast<long long>(timings.size()));
    std::printf("%4s %8s %10s %12s %12s\n", "step", "mA", "plan ms", "posted late", "wire late");
    std::vector<double> posted, wire;
    for (int i = 0; i < int(wireAt.size()) && i < timings.size(); ++i)
        wire.push_back(wireAt[i] - double(plan.steps[i].startMs));
    const double earliest = wire.empty() ? 0 : *std::min_element(wire.begin(), wire.end());
    for (double& w : wire)
        w -= earliest;
    for (int i = 0; i < timings.size(); ++i) {
        const double p = double(timings[i].sentMs - timings[i].plannedMs);
        posted.push_back(p);
        const double w = i < int(wire.size()) ? wire[i] : 0;
        std::printf("%4d %8s %10lld %12.1f %12.1f\n", i + 1, qPrintable(plan.steps[i].text),
                    static_cast<long long>(plan.steps[i].startMs), p, w);
    }
    std::printf("\nposted late: median %.1f ms, max %.1f ms\n", Percentile(posted, 0.5),
                *std::max_element(posted.begin(), posted.end()));
    if (!wire.empty())
        std::printf("wire late:   median %.1f ms, max %.1f ms (against the earliest step)\n",
                    Percentile(wire, 0.5), *std::max_element(wire.begin(), wire.end()));
    int readings = 0;
    for (const ProgramLogEntry& e : run.Log().entries)
        readings += e.kind == ProgramLogEntry::Kind::Reading ? 1 : 0;
    const QList<TripPoint> trips = TripPoints::FromLog(run.Log().entries);
    std::printf("readings %d; trip %s mA, reset %s mA (the unit: 12.5 / 11.5)\n", readings,
                trips.isEmpty() ? "-" : qPrintable(QString::number(trips[0].trip)),
                trips.isEmpty() || !trips[0].reset ? "-"
                                                   : qPrintable(QString::number(*trips[0].reset)));
    for (const QString& text : messages.Texts())
        std::fprintf(stderr, "bench_program: %s\n", qPrintable(text));
    return run.Log().end == ProgramEnd::Completed ? 0 : 1;
}
