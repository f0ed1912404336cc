// SPDX-License-Identifier: MIT
#pragma once

#include "panel/CReadoutDisplay.h"

// The source readout of the control panel; paints from panelSourceState.
class CSourceDisplay : public CReadoutDisplay
{
    Q_OBJECT

public:
    using CReadoutDisplay::CReadoutDisplay;

protected:
    ReadoutContent CurrentContent() const override;
};
