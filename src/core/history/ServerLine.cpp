// SPDX-License-Identifier: MIT
#include "core/history/ServerLine.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <libpq-fe.h>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

void ServerLine::Attach(const QSqlDatabase& db)
{
    int fd = -1;
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    // Qt names the handle's type after libpq's struct tag.
    if (handle.isValid() && (qstrcmp(handle.typeName(), "pg_conn*") == 0 ||
                             qstrcmp(handle.typeName(), "PGconn*") == 0)) {
        if (PGconn* connection = *static_cast<PGconn* const*>(handle.constData()))
            fd = PQsocket(connection);
    }
    const std::lock_guard lock(mutex);
    socket = fd;
}

void ServerLine::Detach()
{
    const std::lock_guard lock(mutex);
    socket = -1;
}

ServerLine::Call::Call(ServerLine* line) : line(line)
{
    if (!line)
        return;
    const std::lock_guard lock(line->mutex);
    line->callTime.start();
}

ServerLine::Call::~Call()
{
    if (!line)
        return;
    const std::lock_guard lock(line->mutex);
    line->callTime.invalidate();
}

bool ServerLine::CutIfOverdue(qint64 limitMs)
{
    const std::lock_guard lock(mutex);
    if (!callTime.isValid() || !callTime.hasExpired(limitMs))
        return false;
    CutLocked();
    return true;
}

void ServerLine::Close()
{
    const std::lock_guard lock(mutex);
    closed = true;
    CutLocked();
}

bool ServerLine::Closed() const
{
    const std::lock_guard lock(mutex);
    return closed;
}

void ServerLine::CutLocked()
{
#ifdef Q_OS_UNIX
    if (socket >= 0)
        ::shutdown(socket, SHUT_RDWR);
#endif
}
