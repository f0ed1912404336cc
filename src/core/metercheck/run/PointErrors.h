// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/ColdJunction.h"

#include <QString>

struct MeterCheckDoc;

// Recomputes actualError (reading - setting) and permissibleError (from the range's accuracy
// class) of a measured point, both in the point's unit with the decimals of the range's
// calibrator function. Does nothing unless the range and the point are measured and the point
// is defined.
void EvaluatePointErrors(MeterCheckDoc& doc, int range, int point);

// The calibrator's own error at a setting of function `functionIndex`:
// |setting| × errorFactor + errorConst, plus 0.8 °C for a thermocouple whose reference junction
// is external or internal (Tex or Tin). Empty for an index outside 0-19.
QString CalibratorErrorText(const QString& settingText, int functionIndex,
                            ColdJunction coldJunction);

// True when the actual error lies outside the permissible one (|A| > E): shown in red.
bool ErrorExceedsPermissible(const QString& actualError, const QString& permissibleError);
