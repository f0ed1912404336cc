// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

// What a technician says of a recorded check afterwards: the meter was found so before an
// adjustment, or left so after it. The numbers are stored: never renumber them.
enum class CheckMark
{
    None = 0,
    AsFound = 1, // "przed regulacją (as found)"
    AsLeft = 2,  // "po regulacji (as left)"
};

// A mark or a note added to a recorded check. The check itself is never edited: each note is a
// row of its own, with who wrote it, where and when, chained as the checks are.
struct CheckNote
{
    QString id;      // UUID without braces
    QString checkId; // the check it is about
    QDateTime notedAt;
    QString computer;
    QString user;
    CheckMark mark = CheckMark::None;
    QString text;

    friend bool operator==(const CheckNote&, const CheckNote&) = default;

    // A new note on `checkId`, now, by this machine's user.
    static CheckNote New(const QString& checkId, CheckMark mark, const QString& text);
};

// "przed regulacją (as found)", "po regulacji (as left)", empty for none.
QString CheckMarkText(CheckMark mark);
// A stored number back into a mark; none for anything unknown.
CheckMark CheckMarkFromNumber(int number);
// Why the note cannot be added (neither a mark nor a text), empty when it can.
QString NoteProblem(CheckMark mark, const QString& text);
// "12.03.2026 10:15:00, jan (stanowisko-1): po regulacji (as left) – wyregulowano zero"
QString NoteLine(const CheckNote& note);
