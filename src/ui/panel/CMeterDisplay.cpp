// SPDX-License-Identifier: MIT
#include "ui/panel/CMeterDisplay.h"

#include "core/panel/PanelState.h"

CMeterDisplay::CMeterDisplay(const PanelMeterState& state, QWidget* parent)
    : ReadoutDisplay(parent), state(state)
{}

ReadoutContent CMeterDisplay::CurrentContent() const
{
    return MeterReadoutContent(state);
}
