// SPDX-License-Identifier: MIT
#include "panel/PanelState.h"

PanelSourceState panelSourceState;
PanelMeterState panelMeterState;
