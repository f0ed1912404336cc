// SPDX-License-Identifier: MIT
#include "core/metercheck/run/ExactSettingEntry.h"

#include "core/link/NumberText.h"
#include "core/metercheck/run/FieldText.h"

#include <QRegularExpression>

ExactSettingEntry::Outcome ExactSettingEntry::Confirm(const QString& typed,
                                                      std::optional<QString>& reading)
{
    if (typed.isEmpty())
        return Outcome::Kept;
    QString text = typed;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    // Only the allowed characters, and they must make one number: "1-2" or "1.2.3" would
    // otherwise be stored as something the operator never read.
    static const QRegularExpression number(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(text).hasMatch()) {
        reading = QString();
        return Outcome::Refused;
    }
    const int decimals = text.contains(QLatin1Char('.')) ? TypedDecimals(text) : 1;
    reading = FitFixed(ParseNumber(text), decimals);
    return Outcome::Stored;
}
