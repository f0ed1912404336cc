// SPDX-License-Identifier: MIT
#pragma once

#include "FuzzSupport.h"
#include "core/metercheck/document/MeterCheckDoc.h"

// A range as the range editor makes them (function, unit, sensor, junction, To, RL, class),
// chosen by the fuzzer's bytes; now and then with fields no editor writes, as a file can hold.
MeterRange FuzzedRange(FuzzSupport::Bytes& in);
