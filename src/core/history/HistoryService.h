// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/DueDates.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/ServerLine.h"

#include <QDateTime>
#include <QFuture>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

// The program's history, served from worker threads so that the windows never wait for a disk
// or a server. Every call takes the configuration in force at the moment it is made and returns
// at once; its result arrives through the future (continue with .then(context, ...) to be back
// on the window's thread).
//
// The local file has a thread of its own and the server another: a record is kept in the local
// file (stored, or queued for the server) whatever the server does, and only then sent. What
// waits is sent when the service starts and every minute; the queue's state (how many wait,
// the last failed attempt) is announced by QueueChanged. A server call that outlives its limit
// is cut, and the service's end gives the server a few seconds at most: what was not sent
// waits in the queue for the next start. The application owns the program's one and hands it
// to the windows that record or read checks.
class HistoryService : public QObject
{
    Q_OBJECT

public:
    struct QueueState
    {
        int waiting = 0;    // records waiting for the server
        QDateTime failedAt; // the last failed attempt to send them (invalid: none since)
        QString failure;    // and why it failed

        friend bool operator==(const QueueState&, const QueueState&) = default;
    };

    HistoryService();
    ~HistoryService() override;

    // The records kept, then (for a server) sent; `sendError` of the outcome says why they wait.
    QFuture<HistoryDatabase::Outcome> Record(const QList<CheckRecord>& records);
    QFuture<HistoryDatabase::Outcome> SendQueued();
    // The reads list the records waiting in the queue too, marked as waiting; when the database
    // cannot be read, the value holds those beside the error.
    QFuture<Fetched<QList<MeterSummary>>> Meters();
    QFuture<Fetched<QList<CheckSummary>>> Checks(const QString& name, const QString& number);
    QFuture<Fetched<QList<CheckRecord>>> ChecksWithPoints(const QString& name, const QString& number);
    QFuture<Fetched<CheckRecord>> Check(const QString& id);
    // The lab's additions, written to the database in force (a server's, not the queue: a
    // check waiting for the server can be noted once it is there). An empty text or the reason.
    QFuture<QString> AddNote(const CheckNote& note);
    QFuture<QString> SetInterval(const MeterInterval& interval);
    // Every due interval set, oldest first (the newest of a meter holds).
    QFuture<Fetched<QList<MeterInterval>>> Intervals();
    // Opens the database of `config` (not the one in force) and reports why it cannot be used;
    // an empty text when it can.
    QFuture<QString> Probe(const HistoryConfig& config);

    const QueueState& Queue() const { return queue; }

    // Where the records go now (the "Baza danych..." dialog and R718_HISTORY decide).
    static HistoryConfig Config() { return HistoryConfig::Current(); }

    static constexpr int retryMilliseconds = 60000;
    // Longer than any limit libpq keeps itself (connection 3 s, statement 20 s).
    static constexpr int callLimitMilliseconds = 30000;
    // What the service's end gives a server call under way before cutting it.
    static constexpr int endWaitMilliseconds = 2000;

signals:
    void QueueChanged(const HistoryService::QueueState& state);

private:
    enum class Side
    {
        Local,
        Server
    };
    template <typename T> QFuture<T> Run(Side side, std::function<T(HistoryDatabase&)> job);
    // Reads the store and adds what waits in the queue; without the store, only what waits.
    template <typename T>
    QFuture<Fetched<T>> Read(std::function<Fetched<T>(HistoryStore&)> read,
                             std::function<T(const T&, const QList<CheckRecord>&)> addWaiting);
    // The worker's database for this configuration (made anew when it changed).
    HistoryDatabase& DatabaseFor(Side side, const HistoryConfig& config);
    // Called on a worker: the queue's new count, and the outcome of an attempt to send.
    void Report(const HistoryDatabase::Outcome& outcome, bool attempted);
    void SendQueuedIfAny();
    // Runs `write` on the store in force, on the thread of its side.
    QFuture<QString> Write(std::function<QString(HistoryStore&)> write);

    // Threads of their own rather than a pool: the SQL connections belong to the thread that
    // made them, and a pool's future may run its job on the thread that waits for it.
    QThread localThread;
    QThread serverThread;
    QObject* onLocal = nullptr;              // lives in localThread; jobs are posted to it
    QObject* onServer = nullptr;             // lives in serverThread
    std::unique_ptr<HistoryDatabase> local;  // touched on localThread only
    std::unique_ptr<HistoryDatabase> server; // touched on serverThread only
    ServerLine line;
    QTimer retry;
    QTimer watch;
    QueueState queue;
};

Q_DECLARE_METATYPE(HistoryService::QueueState)
