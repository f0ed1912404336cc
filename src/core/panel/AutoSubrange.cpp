// SPDX-License-Identifier: MIT
#include "core/panel/AutoSubrange.h"

#include "core/link/NumberText.h"
#include "core/panel/PanelState.h"
#include "core/panel/SourceMembers.h"

#include <cmath>

namespace {

enum
{
    Sub50mV,
    Sub500mV,
    Sub2V,
    Sub12V
};

} // namespace

const QList<AutoSubrange>& AutoSubranges()
{
    static const QList<AutoSubrange> subranges = {
        {QStringLiteral("Uauto (50mV)"), QStringLiteral("mV"), 55, -55, 3},
        {QStringLiteral("Uauto (500mV)"), QStringLiteral("mV"), 550, -550, 2},
        {QStringLiteral("Uauto (2V)"), QStringLiteral("V"), 2.75, -2.75, 4},
        {QStringLiteral("Uauto (12V)"), QStringLiteral("V"), 13.2, -13.2, 3},
    };
    return subranges;
}

void UseAutoSubrange(const AutoSubrange& subrange, PanelSourceState& state, SourceMembers& members)
{
    state.sourceRangeName = subrange.name;
    state.sourceUnit = subrange.unit;
    members.sourceMax = subrange.max;
    members.sourceMin = subrange.min;
    members.sourceDecimals = subrange.decimals;
    members.deltaCaption = FormatFixed(members.deltaStep, subrange.decimals);
    members.mCaption = FormatFixed(members.mStep, subrange.decimals);
}

bool SelectAutoSubrange(PanelSourceState& state, SourceMembers& members)
{
    const QString before = state.sourceRangeName;
    const auto& table = AutoSubranges();
    auto magnitude = [&] { return std::fabs(ParseNumber(state.entryText)); };
    auto scale = [&](double factor, int decimals) {
        state.entryText = FormatFixed(ParseNumber(state.entryText) * factor, decimals);
    };

    // Each test reads the text afresh, so a converted text is not tested again in the
    // other unit.
    if (state.sourceUnit == QLatin1String("mV")) {
        if (magnitude() <= 55) {
            UseAutoSubrange(table[Sub50mV], state, members);
        } else if (magnitude() <= 550) {
            UseAutoSubrange(table[Sub500mV], state, members);
        } else if (magnitude() <= 2750) {
            UseAutoSubrange(table[Sub2V], state, members);
            scale(0.001, 4);
        } else if (magnitude() <= 13200) {
            UseAutoSubrange(table[Sub12V], state, members);
            scale(0.001, 3);
        }
    } else if (state.sourceUnit == QLatin1String("V")) {
        const double m = magnitude();
        if (m > 2.75 && m <= 13.2) {
            UseAutoSubrange(table[Sub12V], state, members);
        } else if (m > 0.55 && m <= 2.75) {
            UseAutoSubrange(table[Sub2V], state, members);
        } else if (m > 0.0055 && m <= 0.55) {
            UseAutoSubrange(table[Sub500mV], state, members);
            scale(1000, 2);
        } else if (m > 0 && m <= 0.0055) {
            UseAutoSubrange(table[Sub50mV], state, members);
            scale(1000, 3);
        }
    }
    return state.sourceRangeName != before;
}
