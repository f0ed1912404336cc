// SPDX-License-Identifier: MIT
#include "panel/CSourceDisplay.h"

#include "panel/PanelState.h"

ReadoutContent CSourceDisplay::CurrentContent() const
{
    return SourceReadoutContent(panelSourceState);
}
