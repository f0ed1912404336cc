// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/HistoryStore.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// How often a meter is to be checked, as the lab set it in the history window. Each setting is
// a row of its own (the bench role may only add rows); the newest one holds.
struct MeterInterval
{
    QString meterName;
    QString meterNumber;
    int months = 0; // 0: none (the meter is not recalled)
    QDateTime setAt;
    QString computer;
    QString user;

    friend bool operator==(const MeterInterval&, const MeterInterval&) = default;

    // The interval of a meter set now by this machine's user.
    static MeterInterval New(const QString& name, const QString& number, int months);
};

// Largest interval the window takes: ten years.
constexpr int maxIntervalMonths = 120;

// A meter due for its next check: last check + interval.
struct DueMeter
{
    QString meterName;
    QString meterNumber;
    QDateTime lastCheckedAt;
    int months = 0;
    QDate dueOn;
    int daysLeft = 0; // negative: overdue by that many days

    bool Overdue() const { return daysLeft < 0; }
    friend bool operator==(const DueMeter&, const DueMeter&) = default;
};

// The date the meter falls due: the day of its last check (on the bench's clock) and `months`
// later; the end of a shorter month when the day is not in it (31.01 + 1 -> 28/29.02).
QDate DueDate(const QDateTime& lastCheckedAt, int months);

// The meters with an interval that are overdue on `today` or fall due within `days` days of
// it, the most overdue first (then by name and number). Intervals for meters never checked
// are left out; the newest interval of a meter holds.
QList<DueMeter> DueMeters(const QList<MeterSummary>& meters, const QList<MeterInterval>& intervals,
                          const QDate& today, int days);

// The interval in force for the meter, 0 when none was set.
int IntervalOf(const QList<MeterInterval>& intervals, const QString& name, const QString& number);

// "po terminie 12 dni", "dziś", "za 5 dni" (and "1 dzień").
QString DueStateText(const DueMeter& due);
