// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// How the control panel opens and closes the calibrator's port: through the panel's link
// session in the program, recorders in tests.
struct PanelPort
{
    int portNumber = 1; // the COM port the panel opens
    std::function<void(int)> open;
    std::function<void()> close;
};
