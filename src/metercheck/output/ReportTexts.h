// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct MeterPoint;
struct MeterRange;

// Texts the printed report and the workbook share, so that both describe a range alike.

// "Metoda dokładnej nastawy" (0) or "Metoda dokładnego odczytu" (1); empty for anything else.
QString MethodText(int method);

// "Klasa: " with the parts of the accuracy class that are filled in.
QString ClassText(const MeterRange& range);

// "Czujnik: " + the sensor with its reference junction or lead resistance; empty when the
// range has no sensor.
QString SensorText(const MeterRange& range);

// True when the point's actual error is larger in magnitude than its permissible error,
// both read back from their texts.
bool ErrorExceeds(const MeterPoint& point);
