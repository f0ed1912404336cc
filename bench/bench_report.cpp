// SPDX-License-Identifier: MIT
// Times r718-report on the largest document a .met file can hold: 50 ranges of 50 measured,
// marked points. Prints the PDF of every range with the table and both charts, and exports
// every range to a workbook. Targets: PDF under 2 s, xlsx under 0.5 s.
//
//   bench_report [runs]        (default 5 runs; the median and the best are shown)
//   R718_BENCH_KEEP=1 bench_report 1     keeps the files
#include "BenchDocument.h"
#include "core/link/NumberText.h"
#include "core/base/MessageService.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

// Processor time (user + system) used by finished child processes so far, in seconds. On a
// machine shared with other work it tells the program's own cost apart from waiting.
double ChildCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Timing
{
    double wall = -1; // seconds; -1 when the run failed
    double cpu = 0;
};

// One run of r718-report.
Timing TimeRun(const QStringList& arguments)
{
    const double cpuBefore = ChildCpuSeconds();
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(R718_REPORT, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        std::fprintf(stderr, "r718-report failed:\n%s\n",
                     process.readAllStandardError().constData());
        return {};
    }
    const double wall = timer.nsecsElapsed() / 1e9;
    return {wall, ChildCpuSeconds() - cpuBefore};
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Failed(const QList<Timing>& runs)
{
    for (const Timing& t : runs) {
        if (t.wall < 0)
            return true;
    }
    return false;
}

void Report(const char* what, const QList<Timing>& runs, double target, const QString& file)
{
    if (Failed(runs)) {
        std::printf("%-32s FAILED\n", what);
        return;
    }
    QList<double> wall, cpu;
    for (const Timing& t : runs) {
        wall << t.wall;
        cpu << t.cpu;
    }
    const double median = Median(wall);
    std::printf("%-32s wall median %6.3f s best %6.3f s, cpu median %6.3f s; target %.1f s %s"
                "  (%lld bytes)\n",
                what, median, *std::min_element(wall.begin(), wall.end()), Median(cpu), target,
                median < target ? "OK" : "OVER", static_cast<long long>(QFileInfo(file).size()));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    // Set R718_BENCH_KEEP to keep the document and its outputs for a look.
    if (!qEnvironmentVariableIsEmpty("R718_BENCH_KEEP")) {
        dir.setAutoRemove(false);
        std::printf("files kept in %s\n", qPrintable(dir.path()));
    }
    MeterCheckSession session;
    FillBenchDocument(session.document);
    const QString met = dir.filePath("bench.met");
    LogMessageService messages;
    if (!SaveDocument(session, met, messages))
        return 1;
    const QString pdf = dir.filePath("bench.pdf");
    const QString tablePdf = dir.filePath("tables.pdf");
    const QString xlsx = dir.filePath("bench.xlsx");

    QList<Timing> withCharts, tablesOnly, workbook, show;
    for (int i = 0; i < runs; ++i) {
        withCharts << TimeRun(
            {"print", met, "--pdf", pdf, "--all", "--points-chart", "--errors-chart"});
        tablesOnly << TimeRun({"print", met, "--pdf", tablePdf, "--all"});
        workbook << TimeRun({"export", met, "--xlsx", xlsx, "--all"});
        show << TimeRun({"show", met, "--json"});
    }
    std::printf("r718-report, 50 ranges x 50 points, %d runs:\n", runs);
    Report("PDF, tables and both charts", withCharts, 2.0, pdf);
    Report("PDF, tables only", tablesOnly, 2.0, tablePdf);
    Report("xlsx, all ranges", workbook, 0.5, xlsx);
    Report("show --json (start-up and load)", show, 0.5, met);
    const bool failed =
        Failed(withCharts) || Failed(tablesOnly) || Failed(workbook) || Failed(show);
    return failed ? 1 : 0;
}
