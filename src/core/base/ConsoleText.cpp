// SPDX-License-Identifier: MIT
#include "core/base/ConsoleText.h"

#include <QStringList>

namespace {

bool EndsSentence(const QString& text)
{
    return text.endsWith(QLatin1Char('.')) || text.endsWith(QLatin1Char('!')) ||
           text.endsWith(QLatin1Char('?'));
}

bool StartsUpper(const QString& text)
{
    return !text.isEmpty() && text.at(0).isUpper();
}

// "Nie udało się" goes on after "r718: " as "nie udało się"; a name ("PostgreSQL",
// "R718_HISTORY") keeps its letters.
QString LowerFirstWord(const QString& text)
{
    const QString word = text.section(QLatin1Char(' '), 0, 0);
    if (word.size() < 2 || !word.at(0).isUpper())
        return text;
    for (qsizetype i = 1; i < word.size(); ++i) {
        if (!word.at(i).isLower() && word.at(i).isLetterOrNumber())
            return text;
    }
    return text.at(0).toLower() + text.mid(1);
}

} // namespace

QString ConsoleMessage(const QString& program, const QString& text)
{
    QString line;
    bool afterName = false; // the last part was the name under a line ending in ":"
    for (QString part : text.split(QLatin1Char('\n'))) {
        part.remove(QChar(0x07)); // a bell means nothing on a terminal
        part = part.simplified();
        if (part.isEmpty())
            continue;
        const bool named = afterName;
        afterName = false;
        if (line.isEmpty()) {
            line = part;
        } else if (line.endsWith(QLatin1Char(':')) && !StartsUpper(part)) {
            line.chop(1); // "pliku:" over "/x/a.met": "pliku /x/a.met"
            line += QLatin1Char(' ') + part;
            afterName = true;
        } else if (line.endsWith(QLatin1Char(':')) || EndsSentence(line) || !StartsUpper(part)) {
            line += QLatin1Char(' ') + part;
        } else {
            // A name, then its cause; or a sentence without its full stop, then the next one.
            line += (named ? QStringLiteral(": ") : QStringLiteral(". ")) + part;
        }
    }
    line = LowerFirstWord(line);
    if (!EndsSentence(line))
        line += QLatin1Char('.');
    return program + QStringLiteral(": ") + line;
}

QString CountText(qint64 n, const QString& one, const QString& few, const QString& many)
{
    const qint64 tens = n % 100;
    const qint64 units = n % 10;
    const QString& noun =
        n == 1 ? one : (units >= 2 && units <= 4 && (tens < 12 || tens > 14) ? few : many);
    return QString::number(n) + QLatin1Char(' ') + noun;
}
