// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckDoc.h"

#include <QString>

// Texts the printed report and the workbook share, so that both describe a range alike.

// "Metoda dokładnej nastawy" or "Metoda dokładnego odczytu"; empty for a number outside the list.
QString MethodText(CheckMethod method);

// "Klasa: " with the parts of the accuracy class that are filled in.
QString ClassText(const MeterRange& range);

// "Czujnik: " + the sensor with its reference junction or lead resistance; empty when the
// range has no sensor.
QString SensorText(const MeterRange& range);
