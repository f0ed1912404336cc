// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/ColdJunction.h"

#include <QString>

struct MeterCheckDoc;
struct MeterPoint;

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

// The one pass/fail rule of a point: true when its actual error is larger in magnitude than
// its permissible error (|A| > E), both read back from their texts. The grid and the report
// mark such an error in red, the history records the point as failed. The rule does not ask
// whether the point is measured; a caller that must, asks itself.
bool ErrorExceedsPermissible(const MeterPoint& point);
