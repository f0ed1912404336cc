// SPDX-License-Identifier: MIT
#include "ui/panel/CSourceDisplay.h"

#include "core/panel/PanelState.h"

CSourceDisplay::CSourceDisplay(const PanelSourceState& state, QWidget* parent)
    : ReadoutDisplay(parent), state(state)
{}

ReadoutContent CSourceDisplay::CurrentContent() const
{
    return SourceReadoutContent(state);
}
