#include "panel/PanelState.h"

PanelSourceState panelSourceState;
PanelMeterState panelMeterState;
