// SPDX-License-Identifier: MIT
#include "core/base/CsvText.h"

#include <QRegularExpression>

namespace CsvText {

QString Field(const QString& text)
{
    static const QRegularExpression formula(QStringLiteral("^[=+\\-@\\t\\r]"));
    static const QRegularExpression special(QStringLiteral("[;\"\\r\\n]|^\\s|\\s$"));
    QString field = text.contains(formula) ? QLatin1Char('\'') + text : text;
    if (!field.contains(special))
        return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString Number(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d*)?$"));
    if (!number.match(text).hasMatch())
        return Field(text);
    QString n = text;
    if (n.endsWith(QLatin1Char('.')))
        n.chop(1);
    return n.replace(QLatin1Char('.'), QLatin1Char(','));
}

QByteArray Document(const QList<QStringList>& rows)
{
    QStringList lines;
    for (const QStringList& row : rows)
        lines << row.join(QLatin1Char(';'));
    return QByteArray("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

} // namespace CsvText
