// SPDX-License-Identifier: MIT
#include "core/history/HistoryService.h"

#include <QCoreApplication>
#include <QPromise>

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

} // namespace

HistoryService::HistoryService()
{
    worker.setObjectName(QStringLiteral("history"));
    onWorker = new QObject;
    onWorker->moveToThread(&worker);
    worker.start();
    retry.setSingleShot(true);
    retry.setInterval(retryMilliseconds);
    connect(&retry, &QTimer::timeout, this, [this] { SendQueued(); });
}

HistoryService::~HistoryService()
{
    retry.stop();
    // After the jobs given before: the connections end on the thread that made them.
    QMetaObject::invokeMethod(
        onWorker,
        [this] {
            database.reset();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    worker.wait();
    delete onWorker;
}

template <typename T>
QFuture<T> HistoryService::Run(std::function<T(HistoryDatabase&)> job)
{
    const HistoryConfig config = Config();
    return Post<T>(onWorker, [this, config, job] { return job(DatabaseFor(config)); });
}

template <typename T>
QFuture<Fetched<T>> HistoryService::Read(std::function<Fetched<T>(HistoryStore&)> read)
{
    return Run<Fetched<T>>([read](HistoryDatabase& db) {
        Fetched<T> result;
        HistoryStore* store = db.Store(&result.error);
        if (!store)
            return result;
        result = read(*store);
        if (!result.Ok())
            db.ForgetServer();
        return result;
    });
}

HistoryDatabase& HistoryService::DatabaseFor(const HistoryConfig& config)
{
    if (!database || !(database->Config() == config))
        database = std::make_unique<HistoryDatabase>(config);
    return *database;
}

void HistoryService::WatchQueue(const HistoryDatabase::Outcome& outcome)
{
    // Called on the worker; the timer belongs to the service's thread.
    if (outcome.waiting > 0)
        QMetaObject::invokeMethod(this, [this] { retry.start(); }, Qt::QueuedConnection);
}

QFuture<HistoryDatabase::Outcome> HistoryService::Record(const QList<CheckRecord>& records)
{
    return Run<HistoryDatabase::Outcome>([this, records](HistoryDatabase& db) {
        const HistoryDatabase::Outcome outcome = db.Record(records);
        WatchQueue(outcome);
        return outcome;
    });
}

QFuture<HistoryDatabase::Outcome> HistoryService::SendQueued()
{
    return Run<HistoryDatabase::Outcome>([this](HistoryDatabase& db) {
        const HistoryDatabase::Outcome outcome = db.SendQueued();
        WatchQueue(outcome);
        return outcome;
    });
}

QFuture<Fetched<QList<MeterSummary>>> HistoryService::Meters()
{
    return Read<QList<MeterSummary>>([](HistoryStore& s) { return s.Meters(); });
}

QFuture<Fetched<QList<CheckSummary>>> HistoryService::Checks(const QString& name,
                                                            const QString& number)
{
    return Read<QList<CheckSummary>>([name, number](HistoryStore& s) { return s.Checks(name, number); });
}

QFuture<Fetched<QList<CheckRecord>>> HistoryService::ChecksWithPoints(const QString& name,
                                                                     const QString& number)
{
    return Read<QList<CheckRecord>>(
        [name, number](HistoryStore& s) { return s.ChecksWithPoints(name, number); });
}

QFuture<Fetched<CheckRecord>> HistoryService::Check(const QString& id)
{
    return Read<CheckRecord>([id](HistoryStore& s) { return s.Check(id); });
}

QFuture<QString> HistoryService::Probe(const HistoryConfig& config)
{
    return Post<QString>(onWorker, [config] {
        HistoryDatabase probe(config);
        QString error;
        probe.Store(&error);
        return error;
    });
}
