// SPDX-License-Identifier: MIT
#include "core/history/HistoryService.h"

#include "core/history/WaitingListing.h"

#include <QFileInfo>
#include <QPromise>
#include <QSet>

#include <memory>

namespace {

// Runs `job` on the thread of `context` and gives its result through a future.
template <typename T, typename Job>
QFuture<T> Post(QObject* context, Job job)
{
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    // Started now, so that whoever waits for the future waits for the job.
    promise->start();
    QMetaObject::invokeMethod(
        context,
        [promise, job] {
            promise->addResult(job());
            promise->finish();
        },
        Qt::QueuedConnection);
    return future;
}

// Ends a worker thread after the jobs given before it: its connections end on the thread that
// made them.
void Finish(QObject* onWorker, std::unique_ptr<HistoryDatabase>& database)
{
    QMetaObject::invokeMethod(
        onWorker,
        [&database] {
            database.reset();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
}

} // namespace

HistoryService::HistoryService()
{
    qRegisterMetaType<HistoryService::QueueState>();
    localThread.setObjectName(QStringLiteral("history"));
    serverThread.setObjectName(QStringLiteral("history-server"));
    onLocal = new QObject;
    onLocal->moveToThread(&localThread);
    onServer = new QObject;
    onServer->moveToThread(&serverThread);
    localThread.start();
    serverThread.start();

    retry.setInterval(retryMilliseconds);
    connect(&retry, &QTimer::timeout, this, &HistoryService::SendQueuedIfAny);
    retry.start();
    watch.setInterval(1000);
    connect(&watch, &QTimer::timeout, this, [this] { line.CutIfOverdue(callLimitMilliseconds); });
    watch.start();
    // What an earlier session left waiting goes first.
    SendQueuedIfAny();
}

HistoryService::~HistoryService()
{
    retry.stop();
    watch.stop();
    // The local file first: every record handed over is kept before the end.
    Finish(onLocal, local);
    localThread.wait();
    // A server that does not answer gets a few seconds, then its call is cut; what it did not
    // get waits in the queue.
    Finish(onServer, server);
    if (!serverThread.wait(endWaitMilliseconds)) {
        line.Close();
        serverThread.wait();
    }
    delete onLocal;
    delete onServer;
}

HistoryDatabase& HistoryService::DatabaseFor(Side side, const HistoryConfig& config)
{
    std::unique_ptr<HistoryDatabase>& database = side == Side::Local ? local : server;
    if (!database || !(database->Config() == config)) {
        database = std::make_unique<HistoryDatabase>(config);
        if (side == Side::Server)
            database->WatchWith(&line);
    }
    return *database;
}

template <typename T>
QFuture<T> HistoryService::Run(Side side, std::function<T(HistoryDatabase&)> job)
{
    const HistoryConfig config = Config();
    return Post<T>(side == Side::Local ? onLocal : onServer,
                   [this, side, config, job] { return job(DatabaseFor(side, config)); });
}

template <typename T>
QFuture<Fetched<T>>
HistoryService::Read(std::function<Fetched<T>(HistoryStore&)> read,
                     std::function<T(const T&, const QList<CheckRecord>&)> addWaiting)
{
    // A server is read on the server's thread: a slow one holds no record up.
    const Side side = Config().IsServer() ? Side::Server : Side::Local;
    return Run<Fetched<T>>(side, [read, addWaiting](HistoryDatabase& db) {
        Fetched<T> result;
        if (HistoryStore* store = db.Store(&result.error))
            result = read(*store);
        if (!result.Ok())
            db.ForgetServer();
        result.value = addWaiting(result.value, db.QueuedRecords().value);
        return result;
    });
}

void HistoryService::Report(const HistoryDatabase::Outcome& outcome, bool attempted)
{
    const QDateTime now = QDateTime::currentDateTime();
    QMetaObject::invokeMethod(
        this,
        [this, outcome, attempted, now] {
            QueueState next = queue;
            // A local file that could not be read leaves the count as it was.
            if (attempted || outcome.error.isEmpty())
                next.waiting = outcome.waiting;
            if (!outcome.error.isEmpty()) {
                next.failedAt = now;
                next.failure = outcome.error;
            } else if (next.waiting == 0) {
                next.failedAt = QDateTime();
                next.failure.clear();
            }
            if (next == queue)
                return;
            queue = next;
            emit QueueChanged(queue);
        },
        Qt::QueuedConnection);
}

QFuture<HistoryDatabase::Outcome> HistoryService::Record(const QList<CheckRecord>& records)
{
    const HistoryConfig config = Config();
    auto promise = std::make_shared<QPromise<HistoryDatabase::Outcome>>();
    QFuture<HistoryDatabase::Outcome> future = promise->future();
    promise->start();
    // Kept on the local thread, whatever the server does; then sent on the server's.
    QMetaObject::invokeMethod(
        onLocal,
        [this, config, records, promise] {
            const HistoryDatabase::Outcome kept = DatabaseFor(Side::Local, config).Keep(records);
            Report(kept, false);
            if (!kept.error.isEmpty() || !config.IsServer() || records.isEmpty()) {
                promise->addResult(kept);
                promise->finish();
                return;
            }
            QMetaObject::invokeMethod(
                onServer,
                [this, config, kept, promise] {
                    const HistoryDatabase::Outcome sent =
                        DatabaseFor(Side::Server, config).SendQueued();
                    Report(sent, true);
                    // The run is recorded (kept); the send's failure says why it waits.
                    HistoryDatabase::Outcome recorded = kept;
                    recorded.sent = sent.sent;
                    recorded.waiting =
                        sent.error.isEmpty() ? sent.waiting : std::max(sent.waiting, kept.waiting);
                    recorded.sendError = sent.error;
                    promise->addResult(recorded);
                    promise->finish();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return future;
}

QFuture<HistoryDatabase::Outcome> HistoryService::SendQueued()
{
    return Run<HistoryDatabase::Outcome>(Side::Server, [this](HistoryDatabase& db) {
        const HistoryDatabase::Outcome outcome = db.SendQueued();
        Report(outcome, true);
        return outcome;
    });
}

void HistoryService::SendQueuedIfAny()
{
    // Without a local file nothing waits, and none is made just to look.
    if (Config().IsServer() || QFileInfo::exists(LocalHistoryPath()))
        SendQueued();
}

QFuture<Fetched<QList<MeterSummary>>> HistoryService::Meters()
{
    return Read<QList<MeterSummary>>(
        [](HistoryStore& s) { return s.Meters(); },
        [](const QList<MeterSummary>& meters, const QList<CheckRecord>& waiting) {
            return WithWaiting(meters, waiting);
        });
}

QFuture<Fetched<QList<CheckSummary>>> HistoryService::Checks(const QString& name,
                                                            const QString& number)
{
    return Read<QList<CheckSummary>>(
        [name, number](HistoryStore& s) { return s.Checks(name, number); },
        [name, number](const QList<CheckSummary>& checks, const QList<CheckRecord>& waiting) {
            QList<CheckSummary> all = checks;
            QSet<QString> stored;
            for (const CheckSummary& c : checks)
                stored.insert(c.id);
            for (const CheckRecord& c : WithWaiting({}, waiting, name, number))
                if (!stored.contains(c.id))
                    all.prepend(CheckSummary{c.id, c.checkedAt, c.rangeValue, c.rangeUnit,
                                             c.quantity, c.sensorName, c.passed});
            return all;
        });
}

QFuture<Fetched<QList<CheckRecord>>> HistoryService::ChecksWithPoints(const QString& name,
                                                                     const QString& number)
{
    return Read<QList<CheckRecord>>(
        [name, number](HistoryStore& s) { return s.ChecksWithPoints(name, number); },
        [name, number](const QList<CheckRecord>& checks, const QList<CheckRecord>& waiting) {
            return WithWaiting(checks, waiting, name, number);
        });
}

QFuture<Fetched<CheckRecord>> HistoryService::Check(const QString& id)
{
    return Read<CheckRecord>([id](HistoryStore& s) { return s.Check(id); },
                             [id](const CheckRecord& check, const QList<CheckRecord>& waiting) {
                                 for (const CheckRecord& c : waiting)
                                     if (check.id.isEmpty() && c.id == id)
                                         return c;
                                 return check;
                             });
}

QFuture<QString> HistoryService::Write(std::function<QString(HistoryStore&)> write)
{
    const Side side = Config().IsServer() ? Side::Server : Side::Local;
    return Run<QString>(side, [write](HistoryDatabase& db) {
        QString error;
        if (HistoryStore* store = db.Store(&error))
            error = write(*store);
        if (!error.isEmpty())
            db.ForgetServer();
        return error;
    });
}

QFuture<QString> HistoryService::AddNote(const CheckNote& note)
{
    return Write([note](HistoryStore& s) { return s.AddNote(note); });
}

QFuture<QString> HistoryService::SetInterval(const MeterInterval& interval)
{
    return Write([interval](HistoryStore& s) { return s.AddInterval(interval); });
}

QFuture<Fetched<QList<MeterInterval>>> HistoryService::Intervals()
{
    const Side side = Config().IsServer() ? Side::Server : Side::Local;
    return Run<Fetched<QList<MeterInterval>>>(side, [](HistoryDatabase& db) {
        Fetched<QList<MeterInterval>> result;
        if (HistoryStore* store = db.Store(&result.error))
            result = store->Intervals();
        if (!result.Ok())
            db.ForgetServer();
        return result;
    });
}

QFuture<QString> HistoryService::Probe(const HistoryConfig& config)
{
    return Post<QString>(onServer, [this, config] {
        HistoryDatabase probe(config);
        probe.WatchWith(&line);
        QString error;
        probe.Store(&error);
        return error;
    });
}
