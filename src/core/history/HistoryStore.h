// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/CheckRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct MeterInterval;
namespace HistoryChain {
struct Report;
}

// A meter as the history lists it: its last check and how many there are.
struct MeterSummary
{
    QString name;
    QString number;
    QDateTime lastCheckedAt;
    bool lastPassed = true;
    int checks = 0;
    int waiting = 0; // of the checks, those waiting in this bench's queue for the server

    friend bool operator==(const MeterSummary&, const MeterSummary&) = default;
};

// A check as the list of a meter's checks shows it, newest first.
struct CheckSummary
{
    QString id;
    QDateTime checkedAt;
    QString rangeValue;
    QString rangeUnit;
    int quantity = 0;
    QString sensorName;
    bool passed = true;

    QString RangeText() const { return rangeValue + QLatin1Char(' ') + rangeUnit; }
};

// What a read returns: the value, or the reason (in Polish) why it could not be read.
template <typename T>
struct Fetched
{
    T value{};
    QString error;
    bool Ok() const { return error.isEmpty(); }
};

// The records of checks in one database.
class HistoryStore
{
public:
    virtual ~HistoryStore() = default;

    // Stores the records in one transaction; a record whose id is stored already is left as
    // it is. Returns an empty text or the reason.
    virtual QString Save(const QList<CheckRecord>& records) = 0;

    // Every meter with its last check, ordered by name and number.
    virtual Fetched<QList<MeterSummary>> Meters() = 0;
    // The checks of one meter, newest first, without their points.
    virtual Fetched<QList<CheckSummary>> Checks(const QString& name, const QString& number) = 0;
    // The checks of one meter with their points, oldest first.
    virtual Fetched<QList<CheckRecord>> ChecksWithPoints(const QString& name,
                                                         const QString& number) = 0;
    // One check with its points; an empty id in the value when there is none.
    virtual Fetched<CheckRecord> Check(const QString& id) = 0;
    // The ids that begin with `prefix`, in order, at most `limit` of them.
    virtual Fetched<QStringList> IdsStartingWith(const QString& prefix, int limit) = 0;

    // The lab's additions, each a row of its own (nothing stored is ever changed): a mark or
    // note on a stored check, chained as the checks are, and a meter's due interval. An empty
    // text or the reason.
    virtual QString AddNote(const CheckNote& note) = 0;
    virtual QString AddInterval(const MeterInterval& interval) = 0;
    // Every interval ever set, oldest first (the newest of a meter holds).
    virtual Fetched<QList<MeterInterval>> Intervals() = 0;
    // Walks the chain of checks and notes (HistoryChain::Verify).
    virtual HistoryChain::Report VerifyChain() = 0;

    // Every check, newest first (the ranges of one run in their order in the document), handed
    // to `take` one at a time as it is read, so that a history of any size takes little memory;
    // `take` returns false to stop. Without or with their points; an empty text, or the reason.
    using TakeCheck = std::function<bool(const CheckRecord&)>;
    virtual QString EachCheck(const TakeCheck& take) = 0;
    virtual QString EachCheckWithPoints(const TakeCheck& take) = 0;
};

// True when the filter text is empty or found (case aside) in the meter's name or number.
bool MeterMatches(const MeterSummary& meter, const QString& filter);
bool MeterMatches(const QString& name, const QString& number, const QString& filter);
