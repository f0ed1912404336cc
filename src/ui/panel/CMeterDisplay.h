// SPDX-License-Identifier: MIT
#pragma once

#include "ui/panel/ReadoutDisplay.h"

struct PanelMeterState;

// The meter readout of the control panel; paints from the measure half's state.
class CMeterDisplay : public ReadoutDisplay
{
    Q_OBJECT

public:
    explicit CMeterDisplay(const PanelMeterState& state, QWidget* parent = nullptr);

protected:
    ReadoutContent CurrentContent() const override;

private:
    const PanelMeterState& state;
};
