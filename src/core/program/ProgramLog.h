// SPDX-License-Identifier: MIT
#pragma once

#include "core/program/TripDetector.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// What a run of a source program did: every set-point the calibrator took and every reading
// of the measure half, each with its time on the program's monotonic clock (from the moment
// the first set-point went out, pauses included, as the chart counts) and on the wall clock.
struct ProgramLogEntry
{
    enum class Kind
    {
        Set,
        Reading
    };
    Kind kind = Kind::Set;
    qint64 ms = 0; // since the first set-point went out
    QDateTime wall;
    int step = 0;        // the planned step in force; -1 for the safe value set at a stop
    int segment = 0;     // its segment (-1 with step -1)
    int pass = 0;        // its run of the repeat group holding it
    double source = 0;   // the set-point in force
    QString sourceText;  // as it was sent
    double reading = 0;  // Reading: the signed value (a range mark: ±infinity)
    QString readingText; // Reading: in the range's decimals, or the mark
    TripEvent event = TripEvent::None;
};

enum class ProgramEnd
{
    Completed,
    Stopped, // by the operator: the source is left at the safe value
    LinkLost // the link was given up; it has told the technician
};

struct ProgramRunLog
{
    QDateTime started;
    std::optional<ProgramEnd> end; // none while the run goes on
    QList<ProgramLogEntry> entries;

    bool IsEmpty() const { return entries.isEmpty(); }
};

// A trip of the instrument under test and the reset that followed it, if one did: the source
// values in force when the readings showed them.
struct TripPoint
{
    double trip = 0;
    qint64 tripMs = 0;
    int pass = 0;
    std::optional<double> reset;
    qint64 resetMs = 0;

    // The distance between the trip and the reset, in the source's unit.
    std::optional<double> Deadband() const;
};

// The trip points of a run, and how far they lie apart.
struct TripSpread
{
    int trips = 0;
    double tripLow = 0, tripHigh = 0;
    int resets = 0;
    double resetLow = 0, resetHigh = 0;

    double TripSpan() const { return tripHigh - tripLow; }
    double ResetSpan() const { return resetHigh - resetLow; }
};

namespace TripPoints {

// The log's trips in order, each with the reset that followed it (a reset before the first
// trip, the run having started tripped, stands alone without a trip and is left out).
QList<TripPoint> FromLog(const QList<ProgramLogEntry>& entries);
TripSpread Spread(const QList<TripPoint>& points);

} // namespace TripPoints

QString ProgramEndName(ProgramEnd end);
