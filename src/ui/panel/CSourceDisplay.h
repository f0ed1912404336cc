// SPDX-License-Identifier: MIT
#pragma once

#include "ui/panel/ReadoutDisplay.h"

struct PanelSourceState;

// The source readout of the control panel; paints from the source half's state.
class CSourceDisplay : public ReadoutDisplay
{
    Q_OBJECT

public:
    explicit CSourceDisplay(const PanelSourceState& state, QWidget* parent = nullptr);

protected:
    ReadoutContent CurrentContent() const override;

private:
    const PanelSourceState& state;
};
