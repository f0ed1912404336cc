// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryConfig.h"
#include "core/history/HistoryStore.h"


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
        int waiting = 0;   // records still waiting for the server
        QString sendError; // of a record: why it waits (the server out of reach or refusing)
    };

    explicit HistoryDatabase(const HistoryConfig& config, const QString& localPath = LocalHistoryPath());
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    const HistoryConfig& Config() const { return config; }

    // Calls on the server are marked on `line`, which another thread may cut (not owned).
    void WatchWith(ServerLine* serverLine) { line = serverLine; }

    // Keeps the records of a run. Locally they are stored; for a server they are queued in the
    // local file first and then sent, so a server out of reach loses nothing.
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

    // The store the history is read from (the server in server mode); nullptr with the reason
    // when it cannot be opened.
    HistoryStore* Store(QString* error);
    // After a failed read from the server: the next use connects anew.
    void ForgetServer();

private:
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
    ServerLine* line = nullptr;
};
