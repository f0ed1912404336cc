// SPDX-License-Identifier: MIT
#include "core/base/CsvText.h"

namespace {

// The spaces of the C locale: a field beginning or ending with one is quoted.
bool IsSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// "-12", "12.", "12.50": an optional minus, digits, and a point with digits or none after it.
bool IsNumberText(QStringView text)
{
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const qsizetype digitsFrom = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    if (i == digitsFrom)
        return false;
    if (i < text.size() && text[i] == u'.')
        ++i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    return i == text.size();
}

} // namespace

namespace CsvText {

QString Field(const QString& text)
{
    const bool formula = !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front());
    QString field = formula ? QLatin1Char('\'') + text : text;
    const bool special = !field.isEmpty() && (IsSpace(field.front()) || IsSpace(field.back()) ||
                                              field.contains(QLatin1Char(';')) ||
                                              field.contains(QLatin1Char('"')) ||
                                              field.contains(QLatin1Char('\r')) ||
                                              field.contains(QLatin1Char('\n')));
    if (!special)
        return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString Number(const QString& text)
{
    if (!IsNumberText(text))
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
