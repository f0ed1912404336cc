// SPDX-License-Identifier: MIT
// Times the history of checks on the local SQLite database, in a folder of its own:
//  - recording one run of a 50-point range (the record built from the document on the window's
//    thread, then written by the worker); target: the write under 20 ms;
//  - the history window opening on 10,000 checks of 500 meters until the meters and the checks
//    of the first are shown; target: under 300 ms.
//
//   bench_history [runs]       (default 20 recordings and 5 openings; median and worst shown)
#include "Child.h"
#include "core/base/MessageService.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/HistoryService.h"
#include "ui/history/HistoryWindow.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// Range 0 of the document: 400 mV, 50 measured points.
void FillRange(MeterCheckDoc& doc, const QString& meterName, const QString& meterNumber,
               int variant)
{
    ClearDocument(doc);
    doc.meterName = meterName;
    doc.meterNumber = meterNumber;
    MeterRange& r = doc.ranges[0];
    r.rangeDefined = 1;
    r.rangeMeasured = 1;
    r.rangeValue = "400";
    r.rangeUnit = "mV";
    r.classRange = "0.1";
    r.calFunction = 1;
    for (int j = 0; j < maxPoints; ++j) {
        MeterPoint& p = r.points[j];
        const double setting = 8.0 * j;
        const double actual = ((j * 37 + variant * 11) % 21 - 10) * 0.04;
        p.pointDefined = 1;
        p.marked = 1;
        p.pointMeasured = 1;
        p.unit = "mV";
        p.setting = FormatFixed(setting, 2);
        p.reading = FormatFixed(setting + actual, 2);
        p.actualError = FormatFixed(actual, 2);
        p.permissibleError = "0.40";
        p.calibratorError = FormatFixed(setting * 0.0001 + 0.05, 2);
    }
}

struct Times
{
    QList<double> ms;
    double Median()
    {
        std::sort(ms.begin(), ms.end());
        return ms.isEmpty() ? 0 : ms[ms.size() / 2];
    }
    double Worst() const { return ms.isEmpty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

} // namespace

int main(int argc, char* argv[])
{
    MeterCheckDoc doc;
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    qunsetenv("R718_HISTORY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    // Recording a 50-point check.
    auto recording = std::make_unique<HistoryDatabase>(HistoryConfig{});
    HistoryDatabase& db = *recording;
    Times build;
    Times write;
    for (int i = 0; i <= runs; ++i) {
        FillRange(doc, "Bench meter", "50 points", i);
        QElapsedTimer t;
        t.start();
        const QList<CheckRecord> records =
            BuildCheckRecords(doc, {0}, RunContext::Current(QString()));
        const double built = t.nsecsElapsed() / 1e6;
        t.restart();
        const HistoryDatabase::Outcome o = db.Record(records);
        const double written = t.nsecsElapsed() / 1e6;
        if (!o.error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(o.error));
            return 1;
        }
        if (i == 0)
            continue; // the first one creates the file and its tables
        build.ms << built;
        write.ms << written;
    }
    std::printf("record a 50-point check: build %.2f ms (worst %.2f), write %.2f ms (worst %.2f)"
                " over %d runs; target: write under 20 ms\n",
                build.Median(), build.Worst(), write.Median(), write.Worst(), runs);

    // 10,000 checks of 500 meters (20 runs each, 10 points a check) in a new file, written in
    // batches, then the window opened on them.
    recording.reset();
    QDir(QFileInfo(LocalHistoryPath()).absolutePath()).removeRecursively();
    HistoryDatabase filling(HistoryConfig{});
    QElapsedTimer fill;
    fill.start();
    QList<CheckRecord> batch;
    const QDateTime start = QDateTime::currentDateTime().addYears(-20);
    for (int check = 0; check < 10000; ++check) {
        const int meter = check % 500;
        FillRange(doc, QStringLiteral("Miernik %1").arg(meter, 3, 10, QLatin1Char('0')),
                  QStringLiteral("%1/2004").arg(meter), check);
        for (int j = 10; j < maxPoints; ++j)
            doc.ranges[0].points[j] = MeterPoint{};
        RunContext context;
        context.endedAt = start.addDays(check / 500 * 365).addSecs(meter * 60);
        context.computer = "bench";
        context.user = "bench";
        batch << BuildCheckRecords(doc, {0}, context);
        if (batch.size() == 500) {
            const HistoryDatabase::Outcome o = filling.Record(batch);
            if (!o.error.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(o.error));
                return 1;
            }
            batch.clear();
        }
    }
    std::printf("filled 10000 checks of 500 meters in %.1f s\n", fill.elapsed() / 1000.0);

    HistoryService history;
    LogMessageService messages;
    Times open;
    const int openings = std::max(1, std::min(runs, 5));
    for (int i = 0; i < openings; ++i) {
        QElapsedTimer t;
        t.start();
        HistoryWindow window(history, messages);
        window.show();
        while (!window.MetersLoaded() || !window.ChecksLoaded())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        open.ms << t.nsecsElapsed() / 1e6;
        const auto* meters = Child<QTableWidget>(window, "metersTable");
        const auto* checks = Child<QTableWidget>(window, "checksTable");
        if (meters->rowCount() != 500 || checks->rowCount() != 20) {
            std::fprintf(stderr, "window shows %d meters and %d checks\n", meters->rowCount(),
                         checks->rowCount());
            return 1;
        }
    }
    std::printf("open the history window on 10000 checks of 500 meters: %.1f ms (worst %.1f)"
                " over %d openings; target: under 300 ms\n",
                open.Median(), open.Worst(), openings);
    return 0;
}
