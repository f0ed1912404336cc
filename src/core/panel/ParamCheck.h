// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The checks of the parameter dialog on OK: the typed text ("," read as ".") must be a
// plain unsigned number within [low, high].
struct ParamCheckResult
{
    bool accepted = false;
    QString text;  // the accepted text, "," replaced by "."
    QString error; // the message for a refused text
};

ParamCheckResult CheckParamText(const QString& typed, double low, double high);

namespace ParamMessages {
inline const QString empty = QStringLiteral("Nie podano wartości parametru.");
inline const QString badCharacters = QStringLiteral("Wartość parametru zawiera błędne znaki.");
QString OutOfRange(double low, double high);
} // namespace ParamMessages
