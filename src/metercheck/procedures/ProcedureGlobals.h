// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// State of the measurement run shared by the procedures and the measurement dialogs.
extern qint16 rangeScope;    // 0 the current range only, 1 all ranges
extern qint16 pointScope;    // 0 the marked points only, 1 all points
extern QString setpointText; // the value last sent with "N", in the calibrator's unit
extern qint16 measuredPoint; // the point the measurement dialog writes its result into
