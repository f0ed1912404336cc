// SPDX-License-Identifier: MIT
#pragma once

#include <QRegularExpression>
#include <QString>

// Whether the standard error of a command-line program holds one message in the programs'
// form: "<program>: <what>[: <Cause>]." on one line, the what going on in lower case (a name
// such as R718_HISTORY keeps its letters), then at most the line
// "Pomoc: <program> [<command>] --help".
inline bool InConsoleForm(const QString& err, const QString& program)
{
    const QString name = QRegularExpression::escape(program);
    const QRegularExpression form(
        QStringLiteral("^%1: (?!\\p{Lu}\\p{Ll})[^\\n]*[.!?]\\n(Pomoc: %1[^\\n]* --help\\n)?\\z")
            .arg(name));
    return form.match(err).hasMatch();
}
