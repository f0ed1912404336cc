// SPDX-License-Identifier: MIT
#include "core/metercheck/run/ExactSettingEntry.h"

#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/run/FieldText.h"

#include <QRegularExpression>

ExactSettingEntry::Outcome ExactSettingEntry::Confirm(const QString& typed, MeterPoint& point,
                                                      QString* shown)
{
    if (typed.isEmpty())
        return Outcome::Kept;
    QString text = typed;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    // Only the allowed characters, and they must make one number: "1-2" or "1.2.3" would
    // otherwise be stored as something the operator never read.
    static const QRegularExpression number(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(text).hasMatch()) {
        point.reading.clear();
        return Outcome::Refused;
    }
    const int decimals = text.contains(QLatin1Char('.')) ? TypedDecimals(text) : 1;
    point.reading = FitFixed(ParseNumber(text), decimals);
    if (shown)
        *shown = point.reading;
    return Outcome::Stored;
}
