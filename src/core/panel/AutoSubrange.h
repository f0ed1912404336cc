// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

struct PanelSourceState;
struct SourceMembers;

// The four voltage sub-ranges between which "Uauto" moves by itself.
struct AutoSubrange
{
    QString name; // what the readout shows, e.g. "Uauto (500mV)"
    QString unit;
    double max = 0;
    double min = 0;
    int decimals = 0;
};

const QList<AutoSubrange>& AutoSubranges();

// Chooses the sub-range that suits the set-point text of the readout (in its present unit)
// and converts the text between mV and V when the unit changes. Sets the range name, unit,
// limits and decimals, and re-captions the step-size buttons with the new decimals (the step
// numbers stay). Returns true when the sub-range changed. The caller repaints.
bool SelectAutoSubrange(PanelSourceState& state, SourceMembers& members);

// Makes `subrange` the current one (name, unit, limits, decimals, step-size captions).
void UseAutoSubrange(const AutoSubrange& subrange, PanelSourceState& state, SourceMembers& members);
