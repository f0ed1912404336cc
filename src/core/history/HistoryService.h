// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryDatabase.h"

#include <QFuture>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

// The program's history, served from one worker thread so that the windows never wait for a
// disk or a server. Every call takes the configuration in force at the moment it is made and
// returns at once; its result arrives through the future (continue with .then(context, ...)
// to be back on the window's thread). While records wait for the server, the queue is sent
// again every minute. The application owns the program's one and hands it to the windows that
// record or read checks; its end waits for the jobs it was given.
class HistoryService : public QObject
{
    Q_OBJECT

public:
    HistoryService();
    ~HistoryService() override;

    QFuture<HistoryDatabase::Outcome> Record(const QList<CheckRecord>& records);
    QFuture<HistoryDatabase::Outcome> SendQueued();
    QFuture<Fetched<QList<MeterSummary>>> Meters();
    QFuture<Fetched<QList<CheckSummary>>> Checks(const QString& name, const QString& number);
    QFuture<Fetched<QList<CheckRecord>>> ChecksWithPoints(const QString& name, const QString& number);
    QFuture<Fetched<CheckRecord>> Check(const QString& id);
    // Opens the database of `config` (not the one in force) and reports why it cannot be used;
    // an empty text when it can.
    QFuture<QString> Probe(const HistoryConfig& config);

    // Where the records go now (the "Baza danych..." dialog and R718_HISTORY decide).
    static HistoryConfig Config() { return HistoryConfig::Current(); }

    static constexpr int retryMilliseconds = 60000;

private:
    template <typename T>
    QFuture<T> Run(std::function<T(HistoryDatabase&)> job);
    template <typename T>
    QFuture<Fetched<T>> Read(std::function<Fetched<T>(HistoryStore&)> read);
    // The worker's database for this configuration (made anew when it changed).
    HistoryDatabase& DatabaseFor(const HistoryConfig& config);
    void WatchQueue(const HistoryDatabase::Outcome& outcome);

    // A thread of its own rather than a pool: the SQL connections belong to the thread that
    // made them, and a pool's future may run its job on the thread that waits for it.
    QThread worker;
    QObject* onWorker = nullptr; // lives in the worker thread; jobs are posted to it
    std::unique_ptr<HistoryDatabase> database; // touched on the worker thread only
    QTimer retry;
};
