// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What the two readouts of the control panel show. Each half of the panel owns its record,
// changes it and asks its readout to repaint; the readout only paints from it.

struct PanelSourceState
{
    QString entryText = QStringLiteral("0.000"); // digits with at most one ".", or a mark
    bool entryPositive = true;
    QString sentText = QStringLiteral("0.000"); // set-point last sent with "N"
    bool sentPositive = true;
    bool showingSetting = true; // false while the user types
    bool digitsStarted = false; // the current entry has accepted a key
    bool operateOn = false;     // "OPR", else "STD"
    QString sourceRangeName = QStringLiteral("50mV");
    QString sourceUnit = QStringLiteral("mV");
    bool linkLost = false; // the link was given up: what is shown did not reach the calibrator
};

struct PanelMeterState
{
    QString meterText = QStringLiteral("0.000"); // magnitude, or an over/under-range mark
    bool meterPositive = true;
    QString meterRangeName = QStringLiteral("25V");
    QString meterUnit = QStringLiteral("V");
    bool holdOn = false;
    QString heldText;      // copy of meterText taken when HOLD is switched
    bool linkLost = false; // the link was given up: nothing is measured
};

// Over- and under-range marks of both readouts, and what they show once the link was given
// up: a mark that reads as no number and as neither range mark, and the status word beside it.
namespace PanelMarks {
inline const QString overRange = QString(6, QChar(0x2014)); // six em dashes
inline const QString underRange = QStringLiteral("______");
inline const QString noMeasurement = QStringLiteral("- - - -");
inline const QString noLinkStatus = QStringLiteral("BRAK");
} // namespace PanelMarks
