// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QTextStream;

// r718-report's commands on the arguments of the program (the first is the program's name).
// Exit codes: 0 done, 1 the file or the output failed, 2 bad arguments.
int RunReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

constexpr int exitOk = 0;
constexpr int exitFailed = 1;
constexpr int exitUsage = 2;
