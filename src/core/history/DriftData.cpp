// SPDX-License-Identifier: MIT
#include "core/history/DriftData.h"

#include "core/link/NumberText.h"

#include <algorithm>

namespace {

bool SameRange(const CheckRecord& a, const CheckRecord& b)
{
    return a.rangeValue == b.rangeValue && a.rangeUnit == b.rangeUnit &&
           a.quantity == b.quantity && a.sensorName == b.sensorName;
}

// Points of different checks are the same point when their nominal values are.
QString PointKey(const CheckRecord& c, const CheckPointRecord& p)
{
    return QString::number(ParseNumber(p.NominalText(c.method)), 'g', 12) + QLatin1Char(' ') +
           p.unit;
}

} // namespace

DriftData BuildDrift(const QList<CheckRecord>& checksOfMeter, const CheckRecord& chosen)
{
    DriftData drift;
    drift.title = QStringLiteral("Miernik: %1; Nr: %2; Zakres: %3")
                      .arg(chosen.meterName, chosen.meterNumber, chosen.RangeText());

    QList<const CheckRecord*> checks;
    for (const CheckRecord& c : checksOfMeter)
        if (SameRange(c, chosen))
            checks << &c;
    std::stable_sort(checks.begin(), checks.end(), [](const CheckRecord* a, const CheckRecord* b) {
        return a->checkedAt < b->checkedAt;
    });
    drift.checks = int(checks.size());

    QStringList keys;
    auto seriesOf = [&](const CheckRecord& c, const CheckPointRecord& p) -> DriftData::Series& {
        const QString key = PointKey(c, p);
        int i = int(keys.indexOf(key));
        if (i < 0) {
            keys << key;
            drift.series.append({p.NominalText(c.method) + QLatin1Char(' ') + p.unit, {}});
            i = int(keys.size()) - 1;
        }
        return drift.series[i];
    };
    for (const CheckPointRecord& p : chosen.points)
        if (p.measured)
            seriesOf(chosen, p);

    QStringList units;
    for (const CheckRecord* c : checks) {
        for (const CheckPointRecord& p : c->points) {
            if (!p.measured)
                continue;
            seriesOf(*c, p).values.append(
                {c->checkedAt, ParseNumber(p.actualError), ParseNumber(p.permissibleError)});
            if (!units.contains(p.unit))
                units << p.unit;
        }
    }
    if (units.size() == 1)
        drift.unit = units.first();
    return drift;
}

DriftTimeAxis TimeAxisOf(const QDateTime& first, const QDateTime& last)
{
    constexpr qint64 minute = 60 * 1000;
    constexpr qint64 day = 24 * 60 * minute;
    DriftTimeAxis axis;
    axis.title = QStringLiteral("Data sprawdzenia");
    const qint64 span = first.msecsTo(last);
    if (span <= 0) {
        axis.from = first.addMSecs(-day);
        axis.to = first.addMSecs(day);
        axis.format = QStringLiteral("dd.MM.yyyy HH:mm");
        return axis;
    }
    // A margin that keeps the first and the last point off the edges.
    const qint64 margin = std::max(span / 20, 5 * minute);
    axis.from = first.addMSecs(-margin);
    axis.to = last.addMSecs(margin);
    if (span < day && first.date() == last.date()) {
        axis.format = QStringLiteral("HH:mm");
        axis.title = QStringLiteral("Godzina sprawdzenia (%1)")
                         .arg(first.toString(QStringLiteral("dd.MM.yyyy")));
    } else if (span < 14 * day) {
        axis.format = QStringLiteral("dd.MM.yyyy HH:mm");
    } else {
        axis.format = QStringLiteral("dd.MM.yyyy");
    }
    return axis;
}
