// SPDX-License-Identifier: MIT
#pragma once

#include "panel/CReadoutDisplay.h"

// The meter readout of the control panel; paints from panelMeterState.
class CMeterDisplay : public CReadoutDisplay
{
    Q_OBJECT

public:
    using CReadoutDisplay::CReadoutDisplay;

protected:
    ReadoutContent CurrentContent() const override;
};
