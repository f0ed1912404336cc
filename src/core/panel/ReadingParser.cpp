// SPDX-License-Identifier: MIT
#include "core/panel/ReadingParser.h"

#include "core/link/NumberText.h"
#include "core/panel/PanelState.h"

#include <cmath>

void ParseReading(const QString& reply, int meterDecimals, PanelMeterState& state)
{
    const QString head = reply.left(9);
    state.meterPositive = !head.contains(QLatin1Char('-'));
    const QString rest = head.mid(1);
    if (rest.contains(QLatin1Char('~')))
        state.meterText = PanelMarks::overRange;
    else if (rest.contains(QLatin1Char('_')))
        state.meterText = PanelMarks::underRange;
    else
        state.meterText = FormatFixed(std::fabs(ParseNumber(rest)), meterDecimals);
}

double SignedReading(const PanelMeterState& state)
{
    const double magnitude = ParseNumber(state.meterText);
    return state.meterPositive ? magnitude : -magnitude;
}
