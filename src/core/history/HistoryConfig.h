// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the history of checks is kept: the embedded SQLite file of this user, or a lab's
// PostgreSQL server. The password of a server is never kept here: libpq takes it from
// ~/.pgpass or its environment (PGPASSWORD, PGPASSFILE, PGSERVICE).
struct HistoryConfig
{
    enum class Backend
    {
        Local,
        PostgreSql
    };

    Backend backend = Backend::Local;
    QString host;      // name, address, or the folder of a Unix socket
    int port = 5432;
    QString database;
    QString user;
    QString schema;               // the tables' schema; empty: the first of the role's search_path
    bool fromEnvironment = false; // chosen by R718_HISTORY, which the settings cannot change
    QString invalid;              // why R718_HISTORY could not be used; nothing is sent then

    bool IsServer() const { return backend == Backend::PostgreSql; }
    // "postgresql://user@host:port/database" or the local file, for messages and listings.
    QString Description() const;

    friend bool operator==(const HistoryConfig&, const HistoryConfig&) = default;

    // R718_HISTORY when it is set (postgresql://... or "local"), else the settings.
    static HistoryConfig Current();
    // The settings alone (what the "Baza danych..." dialog edits).
    static HistoryConfig FromSettings();
    void SaveToSettings() const;

    // Parses postgresql://[user@][host][:port]/database[?host=SOCKET-FOLDER&port=N&user=U&
    // schema=S]. False, with the reason in Polish, for anything else; a password in the text
    // (user:password@ or ?password=) is refused.
    static bool ParseUrl(const QString& text, HistoryConfig& config, QString* reason);
};

// The SQLite file of this user: the program's data folder (Modrex/r718)/history.sqlite. In
// server mode it keeps the records that have not reached the server yet.
QString LocalHistoryPath();
