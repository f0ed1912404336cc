// SPDX-License-Identifier: MIT
#include "panel/CSourceDisplay.h"

#include "panel/PanelState.h"

CSourceDisplay::CSourceDisplay(const PanelSourceState& state, QWidget* parent)
    : ReadoutDisplay(parent), state(state)
{}

ReadoutContent CSourceDisplay::CurrentContent() const
{
    return SourceReadoutContent(state);
}
