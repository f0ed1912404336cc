// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct MeterPoint;

// What the OK button of the exact-setting dialog does with the typed indication.
class ExactSettingEntry
{
public:
    enum class Outcome
    {
        Kept,    // nothing typed: the reading keeps what it held
        Stored,  // the indication, normalised, is the point's reading
        Refused, // not a number: the reading is emptied and the dialog stays open
    };

    static QString BadIndicationMessage()
    {
        return QStringLiteral("Błędnie podane wskazanie miernika.");
    }

    // Checks the typed text (digits, ",", "-" and "." forming one number), replaces "," by "."
    // and writes the number with as many decimals as were typed (1 when no point was typed,
    // fewer when it would not fit the field) into `shown` and into the point's reading.
    static Outcome Confirm(const QString& typed, MeterPoint& point, QString* shown = nullptr);
};
