// SPDX-License-Identifier: MIT
// A bench that records checks as the program does (through HistoryService, on the database of
// R718_HISTORY), for the tests that run several at once or with the server down.
//   history_writer record COUNT METER   records COUNT checks of meter METER, one run each
//   history_writer send                 sends what waits in the local queue
//   history_writer keep-and-die COUNT METER
//                                       queues COUNT checks in one run and is killed (SIGKILL)
//                                       before anything is sent
// Prints "recorded N waiting W" or "sent N waiting W"; exits with 1 after any error.
#include "HistoryTestData.h"

#include "core/history/HistoryService.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (args.value(1) == "send") {
        // Directly: a service would send at its start already.
        const HistoryDatabase::Outcome o = HistoryDatabase(HistoryService::Config()).SendQueued();
        out << "sent " << o.sent << " waiting " << o.waiting << Qt::endl;
        if (!o.error.isEmpty())
            err << o.error << Qt::endl;
        return o.error.isEmpty() ? 0 : 1;
    }
    if (args.value(1) == "keep-and-die" && args.size() == 4) {
        QList<CheckRecord> run;
        for (int i = 0; i < args[2].toInt(); ++i)
            run << SampleCheck(args[3], QString::number(i),
                               QDateTime::currentDateTime().addSecs(i));
        HistoryDatabase database(HistoryService::Config());
        const HistoryDatabase::Outcome o = database.Keep(run);
        out << "kept, waiting " << o.waiting << Qt::endl;
        std::raise(SIGKILL);
    }
    HistoryService history;
    if (args.value(1) != "record" || args.size() != 4) {
        err << "usage: history_writer record COUNT METER | send" << Qt::endl;
        return 2;
    }
    const int count = args[2].toInt();
    const QDateTime start = QDateTime::currentDateTime();
    QList<QFuture<HistoryDatabase::Outcome>> runs;
    for (int i = 0; i < count; ++i)
        runs << history.Record({SampleCheck(args[3], QString::number(i), start.addSecs(i))});
    int failures = 0;
    int waiting = 0;
    for (auto& run : runs) {
        const HistoryDatabase::Outcome o = run.result();
        waiting = o.waiting;
        if (!o.error.isEmpty()) {
            ++failures;
            err << o.error << Qt::endl;
        }
    }
    out << "recorded " << count - failures << " waiting " << waiting << Qt::endl;
    return failures == 0 ? 0 : 1;
}
