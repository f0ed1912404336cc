// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PostgreSQL server of a test's own: a cluster made by initdb in a temporary folder, started
// and stopped with pg_ctl, listening on a Unix socket in that folder only (no TCP). As root the
// server runs as the postgres user. It is stopped when the object goes, and by a watchdog
// when the test process dies first.
class PgServer
{
public:
    PgServer();
    ~PgServer();
    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    // initdb (once) and pg_ctl start; false with LastError() on failure.
    bool Start();
    bool Stop();
    QString LastError() const { return error; }

    // R718_HISTORY for this server: by default database and user "postgres", trusted on the
    // socket (every role is).
    QString Url(const QString& user = QStringLiteral("postgres"),
                const QString& database = QStringLiteral("postgres")) const;

    // Runs psql on this server as the user postgres, as an administrator would; false with
    // LastError() (psql's output) on failure.
    bool Psql(const QStringList& arguments);

private:
    bool Init();
    bool Run(const QString& program, const QStringList& arguments, int timeoutMs);
    QStringList AsServerUser(const QString& program, const QStringList& arguments) const;

    QTemporaryDir folder;
    QString bin;
    QString error;
    bool initialised = false;
    bool running = false;
};
