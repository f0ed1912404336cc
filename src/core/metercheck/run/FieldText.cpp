// SPDX-License-Identifier: MIT
#include "core/metercheck/run/FieldText.h"

#include "core/link/NumberText.h"

#include <cmath>
#include <limits>

QString FitFixed(double value, int decimals, int width)
{
    // Values computed from a damaged file can overflow; a field never shows "inf" or "nan".
    if (!std::isfinite(value))
        value = std::isnan(value) ? 0.0 : std::copysign(std::numeric_limits<double>::max(), value);
    // FormatFixed writes at most 17 decimals: counting down from a larger count changes nothing.
    for (int d = qBound(0, decimals, 17); d >= 0; --d) {
        QString text = FormatFixed(value, d);
        if (d == 0 && text.endsWith(QLatin1Char('.')))
            text.chop(1);
        if (text.size() <= width)
            return text;
    }
    // Only a magnitude of 10^width and more gets here.
    for (int precision = width; precision >= 1; --precision) {
        const QString text = QString::number(value, 'g', precision);
        if (text.size() <= width)
            return text;
    }
    return QString::number(value, 'g', 1);
}

int TypedDecimals(const QString& text)
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : int(text.size() - point - 1);
}
