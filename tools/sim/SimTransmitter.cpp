// SPDX-License-Identifier: MIT
#include "SimTransmitter.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

#include <cmath>

namespace {

bool ParseRange(const QString& text, double* low, double* high)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 2)
        return false;
    bool okLow = false;
    bool okHigh = false;
    *low = parts[0].toDouble(&okLow);
    *high = parts[1].toDouble(&okHigh);
    return okLow && okHigh && std::isfinite(*low) && std::isfinite(*high) && *low != *high;
}

} // namespace

QString SimTransmitter::Apply(const QString& words)
{
    const QStringList list =
        words.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (list.isEmpty())
        return QStringLiteral("brak ustawień przetwornika");
    if (list == QStringList{QStringLiteral("off")}) {
        on = false;
        tracking = false;
        return {};
    }
    Settings next = settings;
    for (const QString& word : list) {
        const QString key = word.section(QLatin1Char('='), 0, 0);
        const QString value = word.section(QLatin1Char('='), 1);
        bool ok = !value.isEmpty();
        if (key == QLatin1String("in")) {
            ok = ParseRange(value, &next.inLow, &next.inHigh);
        } else if (key == QLatin1String("out")) {
            ok = ParseRange(value, &next.outLow, &next.outHigh);
        } else if (key == QLatin1String("switch")) {
            next.switching = value != QLatin1String("off");
            ok = !next.switching || ParseRange(value, &next.tripAt, &next.resetAt);
            tripped = false;
        } else if (key == QLatin1String("function")) {
            ok = value == QLatin1String("linear") || value == QLatin1String("sqrt");
            next.squareRoot = value == QLatin1String("sqrt");
        } else {
            double* target = key == QLatin1String("zero")    ? &next.zeroError
                             : key == QLatin1String("span")  ? &next.spanError
                             : key == QLatin1String("noise") ? &next.noise
                             : key == QLatin1String("lag")   ? &next.lagSeconds
                                                             : nullptr;
            if (!target)
                return QStringLiteral("nieznane ustawienie przetwornika \"%1\"").arg(word);
            const double v = value.toDouble(&ok);
            ok = ok && std::isfinite(v) &&
                 (v >= 0 || target == &next.zeroError || target == &next.spanError);
            if (ok)
                *target = v;
        }
        if (!ok)
            return QStringLiteral("błędne ustawienie przetwornika \"%1\"").arg(word);
    }
    settings = next;
    on = true;
    return {};
}

double SimTransmitter::Steady(double input) const
{
    const Settings& s = settings;
    double fraction = (input - s.inLow) / (s.inHigh - s.inLow);
    if (s.squareRoot)
        fraction = std::sqrt(std::max(fraction, 0.0));
    const double span = s.outHigh - s.outLow;
    return s.outLow + fraction * span +
           (s.zeroError + s.spanError * fraction) / 100.0 * std::fabs(span);
}

double SimTransmitter::Output(double input, double nowSeconds, std::mt19937& random)
{
    const Settings& s = settings;
    if (s.switching) {
        const bool rising = s.tripAt > s.resetAt;
        if (rising ? input >= s.tripAt : input <= s.tripAt)
            tripped = true;
        else if (rising ? input <= s.resetAt : input >= s.resetAt)
            tripped = false;
    }
    const double target = s.switching ? (tripped ? s.outHigh : s.outLow) : Steady(input);
    if (!tracking || settings.lagSeconds <= 0) {
        lagged = target;
    } else {
        const double elapsed = std::max(nowSeconds - lastSeconds, 0.0);
        lagged += (target - lagged) * (1 - std::exp(-elapsed / settings.lagSeconds));
    }
    tracking = true;
    lastSeconds = nowSeconds;
    if (settings.noise <= 0)
        return lagged;
    std::normal_distribution<double> spread(0.0, settings.noise);
    return lagged + spread(random);
}
