// SPDX-License-Identifier: MIT
#include "core/history/WaitingListing.h"

#include <QSet>

#include <algorithm>

QList<MeterSummary> WithWaiting(QList<MeterSummary> meters, const QList<CheckRecord>& waiting)
{
    for (const CheckRecord& c : waiting) {
        auto meter = std::find_if(meters.begin(), meters.end(), [&c](const MeterSummary& m) {
            return m.name == c.meterName && m.number == c.meterNumber;
        });
        if (meter == meters.end()) {
            MeterSummary added;
            added.name = c.meterName;
            added.number = c.meterNumber;
            added.lastCheckedAt = c.checkedAt;
            added.lastPassed = c.passed;
            const auto place =
                std::lower_bound(meters.begin(), meters.end(), added,
                                 [](const MeterSummary& a, const MeterSummary& b) {
                                     return std::tie(a.name, a.number) < std::tie(b.name, b.number);
                                 });
            meter = meters.insert(place, added);
        } else if (c.checkedAt > meter->lastCheckedAt) {
            meter->lastCheckedAt = c.checkedAt;
            meter->lastPassed = c.passed;
        } else if (c.checkedAt == meter->lastCheckedAt) {
            meter->lastPassed = meter->lastPassed && c.passed;
        }
        ++meter->checks;
        ++meter->waiting;
    }
    return meters;
}

QList<CheckRecord> WithWaiting(QList<CheckRecord> checks, const QList<CheckRecord>& waiting,
                               const QString& name, const QString& number)
{
    QSet<QString> stored;
    for (const CheckRecord& c : checks)
        stored.insert(c.id);
    bool added = false;
    for (const CheckRecord& c : waiting) {
        if (c.meterName == name && c.meterNumber == number && !stored.contains(c.id)) {
            checks << c;
            added = true;
        }
    }
    if (added)
        std::stable_sort(checks.begin(), checks.end(),
                         [](const CheckRecord& a, const CheckRecord& b) {
                             return a.checkedAt == b.checkedAt ? a.rangeSlot < b.rangeSlot
                                                               : a.checkedAt < b.checkedAt;
                         });
    return checks;
}
