// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/FileAccess.h"

#include <QLoggingCategory>
#include <QMutex>
#include <QString>

// Sends the link trace (LinkTrace.h) to a file while it lives, switched on whatever the logging
// rules say; other messages go where they went. Lines are appended, each written out at once so
// that the trace survives a crash, the first saying when the trace started. Only a regular file
// (made when missing) takes a trace: a FIFO would hold the start until a reader comes, a device
// (/dev/full, /dev/null) would not keep it.
//
// Qt's message handler and category filter are process-wide and carry no context, so while a
// trace file is started it is the one the handler writes to; at most one is started at a time.
// Its end puts the handler and the filter it found back in place.
class TraceFile
{
public:
    TraceFile() = default;
    ~TraceFile();
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // False, with the cause in `error`, when the file is refused or the first line cannot be
    // written (nothing stays installed then).
    bool Start(const QString& path, QString* error);

    // Whether a later line could not be written: the program then said so on standard error,
    // the trace stopped there with whole lines in the file, and the program ends with status 1.
    bool WriteFailed() const;

private:
    static void Write(QtMsgType type, const QMessageLogContext& context, const QString& message);
    static void Enable(QLoggingCategory* category);
    void Stop();

    AppendFile file;
    QString path;
    // The first write's cause, or empty; after a failure no more lines are written.
    QString failure;
    bool started = false;
    mutable QMutex mutex; // lines come from the link's thread and the GUI thread
    QtMessageHandler previousHandler = nullptr;
    QLoggingCategory::CategoryFilter previousFilter = nullptr;
};
