// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>

#include <mutex>

class QSqlDatabase;

// The connection to the history's server as other threads see it. libpq waits without a limit
// of its own for a server process that has stopped answering (on a Unix socket, or over TCP
// while the peer's kernel still acknowledges), so the thread that owns the connection marks
// each call and another thread cuts a call that outlives its limit, or every call when the
// program ends: the socket is shut down (not closed: its number stays with libpq), libpq's
// wait returns with an error, and the owner drops the connection. What was not sent stays in
// the local queue. Every member is safe from any thread.
class ServerLine
{
public:
    // The open connection's socket; Detach before the connection is closed.
    void Attach(const QSqlDatabase& db);
    void Detach();

    // A call on the server, from its start to its end (a scope).
    class Call
    {
    public:
        explicit Call(ServerLine* line);
        ~Call();
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;

    private:
        ServerLine* line;
    };

    // Cuts the call under way when it has lasted longer than `limitMs`; true when it did.
    bool CutIfOverdue(qint64 limitMs);
    // Cuts the call under way and refuses every later connection.
    void Close();
    bool Closed() const;

private:
    void CutLocked();

    mutable std::mutex mutex;
    int socket = -1;
    QElapsedTimer callTime; // valid while a call is under way
    bool closed = false;
};
