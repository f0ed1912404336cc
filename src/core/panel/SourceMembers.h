// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The numbers behind the source half of the control panel besides what its readout shows:
// the limits and decimals of the selected range, the step sizes and their button captions.
struct SourceMembers
{
    double sourceMax = 55; // limits of the set-point in the readout's unit
    double sourceMin = -55;
    int sourceDecimals = 3;
    double deltaStep = 0;
    double mStep = 0;
    QString deltaCaption = QStringLiteral("0.000"); // caption of the Δ step-size button
    QString mCaption = QStringLiteral("0.000");     // caption of the M step-size button
    bool autoRange = false; // "Uauto" is selected: the panel picks the voltage sub-range
};
