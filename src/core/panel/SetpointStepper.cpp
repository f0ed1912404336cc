// SPDX-License-Identifier: MIT
#include "core/panel/SetpointStepper.h"

#include "core/link/NumberText.h"
#include "core/panel/AutoSubrange.h"
#include "core/panel/PanelState.h"
#include "core/panel/SourceMembers.h"

#include <cmath>

namespace {

// Sums of decimal steps are kept on the grid of the shown digits, so that 54.999 + 0.001 is
// exactly the limit 55 and a zero never carries a minus sign.
double OnGrid(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return rounded == 0 ? 0.0 : rounded;
}

double SignedEntry(const PanelSourceState& state)
{
    const double a = ParseNumber(state.entryText);
    return state.entryPositive ? a : -a;
}

QString Show(PanelSourceState& state, const SourceMembers& members, double w)
{
    w = OnGrid(w, members.sourceDecimals);
    state.entryPositive = w >= 0;
    state.entryText = FormatFixed(std::fabs(w), members.sourceDecimals);
    state.digitsStarted = false;
    state.showingSetting = true;
    state.sentText = state.entryText;
    state.sentPositive = state.entryPositive;
    return (state.entryPositive ? QStringLiteral("N+") : QStringLiteral("N-")) + state.entryText;
}

QString StepFixed(PanelSourceState& state, SourceMembers& members, double step, bool up)
{
    const double a = SignedEntry(state);
    double v = OnGrid(up ? a + step : a - step, members.sourceDecimals);
    if ((up && v > members.sourceMax) || (!up && v < members.sourceMin))
        v = a;
    return Show(state, members, v);
}

QString StepAuto(PanelSourceState& state, SourceMembers& members, double step, bool up)
{
    const AutoSubrange kept{state.sourceRangeName, state.sourceUnit, members.sourceMax,
                            members.sourceMin, members.sourceDecimals};
    const double a = SignedEntry(state);
    const double v = OnGrid(up ? a + step : a - step, members.sourceDecimals);
    state.entryText = FormatFixed(v, 4);

    double w;
    if (SelectAutoSubrange(state, members)) {
        const bool awayFromZero = (up && a >= 0) || (!up && a < 0);
        if (awayFromZero) {
            // The previous set-point, said in the new sub-range's unit.
            double factor = 1;
            if (kept.unit == QLatin1String("mV") && state.sourceUnit == QLatin1String("V"))
                factor = 0.001;
            else if (kept.unit == QLatin1String("V") && state.sourceUnit == QLatin1String("mV"))
                factor = 1000;
            w = a * factor;
        } else {
            w = up ? members.sourceMin : members.sourceMax;
        }
    } else {
        UseAutoSubrange(kept, state, members);
        w = v;
        if (up && a > members.sourceMax)
            w = members.sourceMax;
        if (!up && a < members.sourceMin)
            w = members.sourceMin;
    }
    if (up && w > members.sourceMax)
        w = members.sourceMax;
    if (!up && w < members.sourceMin)
        w = members.sourceMin;
    return Show(state, members, w);
}

} // namespace

double StepSize(StepKey key, const SourceMembers& members)
{
    const double unit = std::pow(10.0, -members.sourceDecimals);
    switch (key) {
    case StepKey::Up:
    case StepKey::Down:
        return unit;
    case StepKey::FastUp:
    case StepKey::FastDown:
        return 100 * unit;
    case StepKey::DeltaUp:
    case StepKey::DeltaDown:
        return members.deltaStep;
    case StepKey::MUp:
    case StepKey::MDown:
        return members.mStep;
    }
    return 0;
}

bool StepIsUp(StepKey key)
{
    return key == StepKey::Up || key == StepKey::FastUp || key == StepKey::DeltaUp ||
           key == StepKey::MUp;
}

QString StepSetpoint(PanelSourceState& state, SourceMembers& members, double step, bool up)
{
    if (!state.showingSetting)
        return QString();
    return members.autoRange ? StepAuto(state, members, step, up)
                             : StepFixed(state, members, step, up);
}
