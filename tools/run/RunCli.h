// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class QTextStream;

// r718-run's commands on the arguments of the program (the first is the program's name).
// Exit codes: 0 the run completed (whatever its verdict, which the output gives), 1 the job
// failed (the file, the definition, the port, the link, the save), 2 bad arguments.
int RunCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
