// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Every value of a measurement point is stored in an 8-byte field of the .met file, so it
// may have at most 7 characters.
constexpr int pointValueChars = 7;

// The value with the given decimals (rounded), like FormatFixed, when that fits `width`
// characters; otherwise with fewer decimals (rounded again, a whole number then without the
// point), so that no digit is ever cut off a number. A magnitude that does not fit even as a
// whole number is written in the shortest exponent form ParseNumber reads back ("1.2e+08").
// An infinity is written as the largest number, NaN as 0.
QString FitFixed(double value, int decimals, int width = pointValueChars);

// The number of digits after the point of a typed number text ("12.50" → 2, "12" → 0).
int TypedDecimals(const QString& text);
