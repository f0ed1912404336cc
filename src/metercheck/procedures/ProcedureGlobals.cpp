// SPDX-License-Identifier: MIT
#include "metercheck/procedures/ProcedureGlobals.h"

qint16 rangeScope = 0;
qint16 pointScope = 0;
QString setpointText;
qint16 measuredPoint = 0;
