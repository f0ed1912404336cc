// SPDX-License-Identifier: MIT
#include "panel/CMeterDisplay.h"

#include "panel/PanelState.h"

ReadoutContent CMeterDisplay::CurrentContent() const
{
    return MeterReadoutContent(panelMeterState);
}
