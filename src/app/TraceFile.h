// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Sends the link trace (LinkTrace.h) to a file for the rest of the run, switched on whatever
// the logging rules say; other messages go where they went. Lines are appended, each written
// out at once so that the trace survives a crash, the first saying when the trace started.
// False, with the system's reason in `error`, when the file cannot be opened for writing.
bool StartTraceFile(const QString& path, QString* error);
