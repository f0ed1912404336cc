// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Every value typed, measured or stored is kept as text with "." as the decimal point.

// The value with exactly `decimals` digits after the point (rounded), never in exponent
// form, "-" only in front of a negative value that does not round to zero. With 0 decimals
// the point still ends the digits ("12.").
QString FormatFixed(double value, int decimals);

// The number at the start of the text ("." always the decimal point whatever the locale);
// leading blanks are skipped, parsing stops at the first character that cannot continue the
// number, a text without a number gives 0. Never NaN or infinity.
double ParseNumber(const QString& text);

// The text with exactly n digits after the point: surplus digits are cut (not rounded),
// missing ones are zeros. A text longer than 6 characters comes back unchanged. n is taken
// within 0-17, like the decimals of FormatFixed.
QString SetDecimals(const QString& text, int n);

// Decimals used for every value of a calibrator function; -1 outside 0-19.
int DecimalsForFunction(int index);
