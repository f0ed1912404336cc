// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/CheckRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The drift of a meter's errors on one range: for every measuring point (the same nominal
// value and unit), its actual and permissible error in each check of that range, oldest first.
struct DriftData
{
    struct Value
    {
        QDateTime checkedAt;
        double actualError = 0;
        double permissibleError = 0;
    };
    struct Series
    {
        QString label; // "100.00 mV"
        QList<Value> values;
    };

    QString title;    // "Miernik: V-640; Nr: 12; Zakres: 400 mV"
    QString unit;     // the unit of the errors when all points share one, else empty
    QList<Series> series;
    int checks = 0;   // checks of the range drawn
};

// The drift on the range of `chosen`, from the meter's checks (any order, any range). The
// series follow the points of the chosen check; points it lacks come after them.
DriftData BuildDrift(const QList<CheckRecord>& checksOfMeter, const CheckRecord& chosen);

// The time axis of a drift chart over checks from `first` to `last`: its ends, the format of
// its labels and its title. Checks of one day spread over the axis with the time of day as
// labels and the date in the title; a single check gets a day on either side.
struct DriftTimeAxis
{
    QDateTime from;
    QDateTime to;
    QString format; // QDateTime format of the labels
    QString title;
};
DriftTimeAxis TimeAxisOf(const QDateTime& first, const QDateTime& last);
