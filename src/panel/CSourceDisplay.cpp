// SPDX-License-Identifier: MIT
#include "panel/CSourceDisplay.h"

#include "panel/PanelState.h"

CSourceDisplay::CSourceDisplay(const PanelSourceState& state, QWidget* parent)
    : CReadoutDisplay(parent), state(state)
{}

ReadoutContent CSourceDisplay::CurrentContent() const
{
    return SourceReadoutContent(state);
}
