// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QTextStream;

// "r718-report history ...": the history of checks on the database the program uses (the
// settings of "Baza danych..." or R718_HISTORY). Exit codes as for the other commands:
// 0 done, 1 the database or the output failed, 2 bad arguments.
int RunHistoryCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
