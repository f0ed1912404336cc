// SPDX-License-Identifier: MIT
#include "history/HistoryService.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>

namespace {

HistoryService* instance = nullptr;

void EndInstance()
{
    delete instance;
    instance = nullptr;
}

} // namespace

HistoryService& HistoryService::Instance()
{
    if (!instance) {
        instance = new HistoryService;
        // Ended while the application still exists: the worker finishes what it was given.
        qAddPostRoutine(EndInstance);
    }
    return *instance;
}

HistoryService::HistoryService()
{
    // One thread that lives as long as the service: the SQL connections belong to it.
    worker.setMaxThreadCount(1);
    worker.setExpiryTimeout(-1);
    retry.setSingleShot(true);
    retry.setInterval(retryMilliseconds);
    connect(&retry, &QTimer::timeout, this, [this] { SendQueued(); });
}

HistoryService::~HistoryService()
{
    retry.stop();
    // The connections end on the thread that made them.
    worker.start([this] { database.reset(); });
    worker.waitForDone();
}

template <typename T>
QFuture<T> HistoryService::Run(std::function<T(HistoryDatabase&)> job)
{
    const HistoryConfig config = Config();
    return QtConcurrent::run(&worker, [this, config, job] { return job(DatabaseFor(config)); });
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
    return QtConcurrent::run(&worker, [config] {
        HistoryDatabase probe(config);
        QString error;
        probe.Store(&error);
        return error;
    });
}
