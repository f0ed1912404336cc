// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryConfig.h"
#include "core/history/HistoryStore.h"
#include "core/history/WaitingRecords.h"

#include <memory>
#include <optional>

class ServerLine;

// The history of one program as the configuration names it: the local SQLite file, or a
// PostgreSQL server with the local file as the queue of records that have not reached it.
// Blocking and bound to the thread that made it (Qt SQL connections are); the program keeps
// one in HistoryService's worker thread, r718-report uses one directly.
class HistoryDatabase
{
public:
    struct Outcome
    {
        QString error;     // empty: recorded (stored, or safely queued for the server)
        int sent = 0;      // records that reached the server now
        int waiting = 0;   // records still waiting for the server (or for the local database)
        QString sendError; // of a record: why it waits (the server out of reach or refusing)
        // When the local database could not take a run's records (`error` says why): the
        // folder they wait in until it can. Nothing is lost then.
        QString keptIn;
    };

    explicit HistoryDatabase(const HistoryConfig& config, const QString& localPath = LocalHistoryPath());
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    const HistoryConfig& Config() const { return config; }

    // Calls on the server are marked on `line`, which another thread may cut (not owned).
    void WatchWith(ServerLine* serverLine) { line = serverLine; }

    // Keeps the records of a run. Locally they are stored; for a server they are queued in the
    // local file first and then sent, so a server out of reach loses nothing. When the local
    // file cannot take them (locked by another program), they wait in a folder beside it and
    // go in with the next use of the history.
    Outcome Record(const QList<CheckRecord>& records);
    // The first half of Record: stored locally, or queued for the server without sending.
    Outcome Keep(const QList<CheckRecord>& records);

    // Sends what waits in the local queue, oldest first; each record is stored on the server
    // once, whoever sends it. Nothing to do in local mode.
    Outcome SendQueued();

    // Records waiting for the server (also those queued before the bench changed to the local
    // file); none when the local file cannot be read.
    std::optional<int> QueuedCount();
    // Those records, oldest first, marked as waiting.
    Fetched<QList<CheckRecord>> QueuedRecords();

    // Writes a consistent copy of the local history to `target` (whole or not at all) while
    // benches go on recording: SQLite copies one moment of the database, log included. An
    // empty text, or the reason in Polish; a server's history is refused (pg_dump copies it).
    QString BackUp(const QString& target);

    // The store the history is read from (the server in server mode); nullptr with the reason
    // when it cannot be opened.
    HistoryStore* Store(QString* error);
    // After a failed read from the server: the next use connects anew.
    void ForgetServer();

private:
    Outcome KeepNow(const QList<CheckRecord>& records);
    // Records the runs kept in WaitingRecords, oldest first, while the database takes them.
    void TakeInWaiting();

    // Opens and upgrades the connection when needed; false with the reason.
    bool OpenLocal(QString* error);
    bool OpenServer(QString* error);
    void DropServer();

    HistoryConfig config;
    QString localPath;
    QString localName;
    QString serverName;
    std::unique_ptr<HistoryStore> localStore;
    std::unique_ptr<HistoryStore> serverStore;
    WaitingRecords waiting;
    bool takingIn = false;
    ServerLine* line = nullptr;
};
