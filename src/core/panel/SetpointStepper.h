// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct PanelSourceState;
struct SourceMembers;

// The eight step keys of the source half.
enum class StepKey
{
    Up,
    Down,
    FastUp,
    FastDown,
    DeltaUp,
    DeltaDown,
    MUp,
    MDown
};

// The size of a key's step in the present range: one unit of the last shown digit, a hundred
// of them, or the Δ and M step sizes.
double StepSize(StepKey key, const SourceMembers& members);
bool StepIsUp(StepKey key);

// Moves the set-point by `step` up or down and returns the command that sends it ("N+..." or
// "N-..."), or an empty text when an entry is being typed (nothing changes then). A step past a
// fixed range's limit keeps the set-point; in "Uauto" the step may move to another voltage
// sub-range, and the set-point stops at the limits of the highest one. The caller repaints
// and sends.
QString StepSetpoint(PanelSourceState& state, SourceMembers& members, double step, bool up);
