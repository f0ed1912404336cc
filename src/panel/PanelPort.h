// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// How the control panel opens and closes the calibrator's port: the link's
// OpenCalibratorPort / CloseCalibratorPort in the program, recorders in tests.
struct PanelPort
{
    std::function<bool(int)> open;
    std::function<void()> close;

    static PanelPort Link();
};
