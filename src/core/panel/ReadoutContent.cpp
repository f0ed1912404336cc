// SPDX-License-Identifier: MIT
#include "core/panel/ReadoutContent.h"

#include "core/panel/PanelState.h"

ReadoutContent SourceReadoutContent(const PanelSourceState& state)
{
    ReadoutContent c;
    c.valueText = state.entryText;
    c.positive = state.entryPositive;
    c.statusWord = state.linkLost    ? PanelMarks::noLinkStatus
                   : state.operateOn ? QStringLiteral("OPR")
                                     : QStringLiteral("STD");
    c.statusX = ReadoutGeometry::sourceStatusLeft;
    c.rangeName = state.sourceRangeName;
    c.unit = state.sourceUnit;
    return c;
}

ReadoutContent MeterReadoutContent(const PanelMeterState& state)
{
    ReadoutContent c;
    if (state.linkLost) {
        // Nothing is measured: no number, not even a held one.
        c.valueText = PanelMarks::noMeasurement;
        c.positive = true;
        c.statusWord = PanelMarks::noLinkStatus;
    } else {
        c.valueText = state.holdOn ? state.heldText : state.meterText;
        c.positive = state.meterPositive;
        c.statusWord = state.holdOn ? QStringLiteral("HOLD") : QString();
    }
    c.statusX = ReadoutGeometry::meterStatusLeft;
    c.rangeName = state.meterRangeName;
    c.unit = state.meterUnit;
    return c;
}
