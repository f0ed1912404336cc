// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/CheckRecord.h"

#include <QDateTime>
#include <QStringList>

// A document with a 400 mV range, class 0.1 % of range (0.40 mV), measured at 100, 200 and
// 300 mV with the given indications, as a run leaves it.
void FillSampleDocument(MeterCheckDoc& doc, const QString& meterName, const QString& meterNumber,
                        const QStringList& readings = {"100.05", "200.00", "300.30"});

// A check of a 400 mV range with class 0.1 % of range (0.40 mV): points at 100, 200 and
// 300 mV, measured with the given indications (by default all within 0.40 mV), recorded as a
// run records it.
CheckRecord SampleCheck(const QString& meterName, const QString& meterNumber,
                        const QDateTime& checkedAt,
                        const QStringList& readings = {"100.05", "200.00", "300.30"});

// Indications for SampleCheck whose first point exceeds its permissible error and whose last
// is within it: the verdict of the check is its every point's, not its last one's.
inline const QStringList firstPointExceeds = {"100.50", "200.00", "300.00"};

// The record as it was made: without what a read adds (its link's hash and its notes).
CheckRecord Content(CheckRecord record);

// Removes the local history file of this process (the tests' data folders outlive a run).
void ForgetLocalHistory();
