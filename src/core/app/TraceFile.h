// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Sends the link trace (LinkTrace.h) to a file for the rest of the run, switched on whatever
// the logging rules say; other messages go where they went. Lines are appended, each written
// out at once so that the trace survives a crash, the first saying when the trace started.
// Only a regular file (made when missing) takes a trace: a FIFO would hold the start until a
// reader comes, a device (/dev/full, /dev/null) would not keep it. False, with the cause in
// `error`, when the file is refused or the first line cannot be written.
bool StartTraceFile(const QString& path, QString* error);

// Whether a later line could not be written: the program then said so on standard error, the
// trace stopped there with whole lines in the file, and the program ends with status 1.
bool TraceWriteFailed();
