// SPDX-License-Identifier: MIT
#include "core/link/NumberText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

QString FormatFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        value = std::isnan(value) ? 0.0 : std::copysign(std::numeric_limits<double>::max(), value);
    decimals = qBound(0, decimals, 17);

    QString text = QString::asprintf("%.*f", decimals, std::fabs(value));
    if (decimals == 0)
        text += QLatin1Char('.');
    bool roundsToZero = true;
    for (QChar c : text)
        roundsToZero = roundsToZero && (c == QLatin1Char('0') || c == QLatin1Char('.'));
    if (value < 0 && !roundsToZero)
        text.prepend(QLatin1Char('-'));
    return text;
}

double ParseNumber(const QString& text)
{
    const std::string s = text.toStdString();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' ||
                            s[i] == '\v' || s[i] == '\f'))
        ++i;

    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    // Take the longest decimal number from here: digits, one point, digits, exponent.
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0;
    std::size_t end = i;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            negativeExponent = s[j++] == '-';
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                ++j;
            end = j;
        } else {
            negativeExponent = false;
        }
    }

    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(s.data() + start, s.data() + end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large gives the largest number, too small gives zero: never an infinity.
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

QString SetDecimals(const QString& text, int n)
{
    if (text.size() > 6)
        return text;
    // No more decimals than a double holds (as FormatFixed): a wild count must not make the
    // text grow without bound.
    n = qBound(0, n, 17);
    QString result = text;
    const qsizetype point = result.indexOf(QLatin1Char('.'));
    if (point < 0) {
        if (result.isEmpty())
            result = QStringLiteral("0");
        result += QLatin1Char('.') + QString(n, QLatin1Char('0'));
        return result;
    }
    const qsizetype after = result.size() - point - 1;
    if (after > n)
        result.chop(after - n);
    else if (after < n)
        result += QString(n - after, QLatin1Char('0'));
    return result;
}

int DecimalsForFunction(int index)
{
    switch (index) {
    case 0:
    case 3:
    case 4:
        return 3;
    case 1:
    case 5:
    case 14:
    case 15:
        return 2;
    case 2:
        return 4;
    default:
        return index >= 6 && index <= 19 ? 1 : -1;
    }
}
