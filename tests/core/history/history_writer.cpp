// SPDX-License-Identifier: MIT
// A bench that records checks as the program does (through HistoryService, on the database of
// R718_HISTORY), for the tests that run several at once or with the server down.
//   history_writer record COUNT METER   records COUNT checks of meter METER, one run each
//   history_writer send                 sends what waits in the local queue
//   history_writer keep-and-die COUNT METER
//                                       queues COUNT checks in one run and is killed (SIGKILL)
//                                       before anything is sent
//   history_writer note ID MARK TEXT     adds a mark (0-2) and a note to the stored check ID
//   history_writer interval NAME NUMBER MONTHS
//                                       sets a meter's due interval
// R718_WRITER_START (ISO 8601) back-dates the first check of `record`; R718_WRITER_TUR gives
// its checks that TUR threshold and the non-binary rule.
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
    if ((args.value(1) == "note" && args.size() == 5) ||
        (args.value(1) == "interval" && args.size() == 5)) {
        HistoryDatabase database(HistoryService::Config());
        QString error;
        if (HistoryStore* store = database.Store(&error))
            error = args[1] == "note"
                        ? store->AddNote(CheckNote::New(args[2], CheckMarkFromNumber(args[3].toInt()),
                                                        args[4]))
                        : store->AddInterval(MeterInterval::New(args[2], args[3], args[4].toInt()));
        if (!error.isEmpty())
            err << error << Qt::endl;
        return error.isEmpty() ? 0 : 1;
    }
    HistoryService history;
    if (args.value(1) != "record" || args.size() != 4) {
        err << "usage: history_writer record COUNT METER | send" << Qt::endl;
        return 2;
    }
    const int count = args[2].toInt();
    const QDateTime start = qEnvironmentVariableIsSet("R718_WRITER_START")
                                ? QDateTime::fromString(qEnvironmentVariable("R718_WRITER_START"),
                                                        Qt::ISODate)
                                : QDateTime::currentDateTime();
    QList<QFuture<HistoryDatabase::Outcome>> runs;
    for (int i = 0; i < count; ++i) {
        CheckRecord check = SampleCheck(args[3], QString::number(i), start.addSecs(i));
        if (qEnvironmentVariableIsSet("R718_WRITER_TUR")) {
            check.turThreshold = qEnvironmentVariable("R718_WRITER_TUR").toDouble();
            check.decisionRule = DecisionRule::NonBinary;
        }
        runs << history.Record({check});
    }
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
