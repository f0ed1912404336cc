// SPDX-License-Identifier: MIT
#include "panel/CMeterDisplay.h"

#include "panel/PanelState.h"

CMeterDisplay::CMeterDisplay(const PanelMeterState& state, QWidget* parent)
    : ReadoutDisplay(parent), state(state)
{}

ReadoutContent CMeterDisplay::CurrentContent() const
{
    return MeterReadoutContent(state);
}
