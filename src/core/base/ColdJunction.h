// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// Where a thermocouple has its reference junction, as the calibrator offers it: the three
// choices of the control panel and of a thermocouple range. A range's file keeps the number; a
// number outside the list (a damaged or foreign file) is kept as it is and matches no name.
enum class ColdJunction : qint16
{
    Tex = 0, // external
    Tin = 1, // internal, measured by the calibrator
    To = 2,  // at a fixed temperature To
};
