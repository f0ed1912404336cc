// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The texts that r718, r718-report and r718-sim write on a terminal. Every message is one line
// on standard error in one form:
//
//     r718-report: nie udało się odczytać pliku /x/a.met: Plik lub folder nie istnieje.
//     <program>: <what went wrong>[: <cause>].[ <what follows>.]
//
// The part after the program's name goes on from it, so its first word is in lower case; the
// cause is the system's reason as the message boxes give it (SystemErrorText); a full stop
// ends the line. Advice ("Pomoc: r718 --help") goes on a line of its own.

// The message `text` of `program` in that form. `text` may be a message box's text of several
// lines ("Nie udało się odczytać pliku:\n/x/a.met\nPlik lub folder nie istnieje."): a line
// ending in ":" runs on into the name under it, a name runs on into its cause after ": ",
// sentences follow each other after a space (and a full stop when one lacks it).
QString ConsoleMessage(const QString& program, const QString& text);

// "1 strona", "3 strony", "5 stron", "22 strony": n with the Polish form of the noun that
// goes with it.
QString CountText(qint64 n, const QString& one, const QString& few, const QString& many);
