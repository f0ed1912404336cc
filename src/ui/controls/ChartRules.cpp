// SPDX-License-Identifier: MIT
#include "ui/controls/ChartRules.h"

#include <algorithm>
#include <cmath>

namespace {

// The fewest decimals that show every multiple of the step exactly; a step that few decimals
// do not show exactly gets four, or two significant digits when it is smaller (up to 15), so
// that no tick but the zero line reads as zero.
int LabelDecimals(double step)
{
    if (!(step > 0.0))
        return 0;
    for (int d = 0; d < 4; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-9 * std::max(1.0, scaled))
            return d;
    }
    return std::clamp(1 - int(std::floor(std::log10(step) + 1e-9)), 4, 15);
}

// More ticks than this would make the axis unreadable; the axis then takes a round step.
constexpr int maxTicks = 40;

// A step of 1, 2 or 5 times a power of ten that gives about ten ticks over span.
double RoundStep(double span)
{
    const double wanted = span / 10.0;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double multiple : {1.0, 2.0, 5.0})
        if (multiple * power >= wanted)
            return multiple * power;
    return 10.0 * power;
}

// A tick's label with the axis's decimals. The zero line reads "0.0", never "-0.0", whatever
// sign the rounding of a computed tick leaves.
QString TickLabel(double value, int decimals)
{
    const QString text = QString::number(value, 'f', decimals);
    return text.toDouble() == 0.0 ? QString::number(0.0, 'f', decimals) : text;
}

} // namespace

ValueAxisScale ScaleValueAxis(double minimum, double maximum, double step)
{
    ValueAxisScale scale;
    scale.low = std::min(minimum, maximum);
    scale.high = std::max(minimum, maximum);
    if (scale.high - scale.low <= 0.0) {
        // All values 0: show a symmetric band around the zero line.
        scale.low -= 1.0;
        scale.high += 1.0;
    }
    const double span = scale.high - scale.low;
    const double used = step > 0.0 && span / step <= maxTicks ? step : RoundStep(span);
    if (!std::isfinite(used) || !(used > 0.0))
        return scale;
    const int decimals = LabelDecimals(used);
    const double first = std::ceil(scale.low / used - 1e-9);
    const double last = std::floor(scale.high / used + 1e-9);
    for (int i = 0; i <= 2 * maxTicks && first + i <= last; ++i) {
        const double tick = (first + i) * used;
        scale.ticks << tick;
        scale.labels << TickLabel(tick, decimals);
    }
    return scale;
}

QFont ChartTitleFont(const QFont& chartFont)
{
    QFont font = chartFont;
    font.setBold(true);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 1.25);
    else if (font.pixelSize() > 0)
        font.setPixelSize(qRound(font.pixelSize() * 1.25));
    return font;
}
