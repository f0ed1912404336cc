// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/DueDates.h"
#include "core/history/HistoryChain.h"
#include "core/history/HistoryStore.h"

#include <QSqlDatabase>

// The history in an open SQL database (SQLite or PostgreSQL) whose tables are up to date.
class SqlHistoryStore : public HistoryStore
{
public:
    explicit SqlHistoryStore(const QSqlDatabase& db) : db(db) {}

    QString Save(const QList<CheckRecord>& records) override;
    Fetched<QList<MeterSummary>> Meters() override;
    Fetched<QList<CheckSummary>> Checks(const QString& name, const QString& number) override;
    Fetched<QList<CheckRecord>> ChecksWithPoints(const QString& name,
                                                 const QString& number) override;
    Fetched<CheckRecord> Check(const QString& id) override;
    Fetched<QStringList> IdsStartingWith(const QString& prefix, int limit) override;
    QString AddNote(const CheckNote& note) override;
    QString AddInterval(const MeterInterval& interval) override;
    Fetched<QList<MeterInterval>> Intervals() override;
    HistoryChain::Report VerifyChain() override;
    QString EachCheck(const TakeCheck& take) override;
    QString EachCheckWithPoints(const TakeCheck& take) override;

private:
    QSqlDatabase db;
};
