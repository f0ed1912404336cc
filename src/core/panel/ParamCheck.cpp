// SPDX-License-Identifier: MIT
#include "core/panel/ParamCheck.h"

#include "core/link/NumberText.h"

QString ParamMessages::OutOfRange(double low, double high)
{
    return QString::asprintf("Wartość parametru może mieścić się w zakresie od %.0f do %.0f.", low,
                             high);
}

ParamCheckResult CheckParamText(const QString& typed, double low, double high)
{
    ParamCheckResult result;
    QString text = typed;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (text.isEmpty()) {
        result.error = ParamMessages::empty;
        return result;
    }
    // Only digits and one point; a text of points alone holds no number either.
    int points = 0;
    int digits = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('.'))
            ++points;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else
            points = 2;
    }
    if (points > 1 || digits == 0) {
        result.error = ParamMessages::badCharacters;
        return result;
    }
    const double value = ParseNumber(text);
    if (value < low || value > high) {
        result.error = ParamMessages::OutOfRange(low, high);
        return result;
    }
    result.accepted = true;
    result.text = text;
    return result;
}
