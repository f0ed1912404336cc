// SPDX-License-Identifier: MIT
#include "core/history/DueDates.h"

#include <QHash>
#include <QSysInfo>

#include <algorithm>

namespace {

using MeterKey = std::pair<QString, QString>;

// The newest interval of each meter.
QHash<MeterKey, MeterInterval> InForce(const QList<MeterInterval>& intervals)
{
    QHash<MeterKey, MeterInterval> newest;
    for (const MeterInterval& i : intervals) {
        const MeterKey key{i.meterName, i.meterNumber};
        const auto found = newest.constFind(key);
        if (found == newest.cend() || found->setAt <= i.setAt)
            newest.insert(key, i);
    }
    return newest;
}

QString Days(int n)
{
    return n == 1 ? QStringLiteral("1 dzień") : QStringLiteral("%1 dni").arg(n);
}

} // namespace

MeterInterval MeterInterval::New(const QString& name, const QString& number, int months)
{
    MeterInterval interval;
    interval.meterName = name;
    interval.meterNumber = number;
    interval.months = months;
    interval.setAt = QDateTime::currentDateTime();
    interval.computer = QSysInfo::machineHostName();
    interval.user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return interval;
}

QDate DueDate(const QDateTime& lastCheckedAt, int months)
{
    // QDate::addMonths keeps the day or takes the month's last one.
    return lastCheckedAt.date().addMonths(months);
}

int IntervalOf(const QList<MeterInterval>& intervals, const QString& name, const QString& number)
{
    return InForce(intervals).value({name, number}).months;
}

QList<DueMeter> DueMeters(const QList<MeterSummary>& meters, const QList<MeterInterval>& intervals,
                          const QDate& today, int days)
{
    const QHash<MeterKey, MeterInterval> newest = InForce(intervals);
    QList<DueMeter> due;
    for (const MeterSummary& m : meters) {
        const int months = newest.value({m.name, m.number}).months;
        if (months <= 0 || !m.lastCheckedAt.isValid())
            continue;
        DueMeter d{m.name, m.number, m.lastCheckedAt, months, DueDate(m.lastCheckedAt, months), 0};
        d.daysLeft = int(today.daysTo(d.dueOn));
        if (d.daysLeft <= days)
            due << d;
    }
    std::sort(due.begin(), due.end(), [](const DueMeter& a, const DueMeter& b) {
        if (a.daysLeft != b.daysLeft)
            return a.daysLeft < b.daysLeft;
        return std::tie(a.meterName, a.meterNumber) < std::tie(b.meterName, b.meterNumber);
    });
    return due;
}

QString DueStateText(const DueMeter& due)
{
    if (due.daysLeft < 0)
        return QStringLiteral("po terminie %1").arg(Days(-due.daysLeft));
    if (due.daysLeft == 0)
        return QStringLiteral("dziś");
    return QStringLiteral("za %1").arg(Days(due.daysLeft));
}
