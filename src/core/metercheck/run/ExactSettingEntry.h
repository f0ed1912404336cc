// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

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
    // fewer when it would not fit the field) into `reading`, the reading the dialog hands back
    // (none: the point keeps its own). A refused text empties it.
    static Outcome Confirm(const QString& typed, std::optional<QString>& reading);
};
