// SPDX-License-Identifier: MIT
#include "core/app/TraceFile.h"

#include "core/base/ConsoleText.h"
#include "core/base/FileAccess.h"
#include "core/base/ProgramVersion.h"
#include "core/link/LinkTrace.h"

#include <QDate>
#include <QDir>
#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

namespace {

// The category's name, compared as text: the filter runs under Qt's lock of the categories,
// where the category object must not be asked for.
constexpr char traceCategory[] = "r718.link";

struct TraceSink
{
    ~TraceSink()
    {
        // Messages of the program's last moments go where they went before.
        if (previousHandler)
            qInstallMessageHandler(previousHandler);
    }

    AppendFile file;
    QString path;
    // The first write's cause, or empty; after a failure no more lines are written.
    QString failure;
    bool started = false;
    QMutex mutex; // lines come from the link's thread and the GUI thread
    QtMessageHandler previousHandler = nullptr;
    QLoggingCategory::CategoryFilter previousFilter = nullptr;
};

TraceSink& Sink()
{
    static TraceSink sink;
    return sink;
}

void EnableTrace(QLoggingCategory* category)
{
    TraceSink& sink = Sink();
    if (sink.previousFilter)
        sink.previousFilter(category);
    if (qstrcmp(category->categoryName(), traceCategory) == 0)
        category->setEnabled(QtDebugMsg, true);
}

void WriteTrace(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    TraceSink& sink = Sink();
    if (!context.category || qstrcmp(context.category, traceCategory) != 0) {
        sink.previousHandler(type, context, message);
        return;
    }
    const QByteArray line = message.toUtf8() + '\n';
    const QMutexLocker lock(&sink.mutex);
    if (!sink.failure.isEmpty() || !sink.file.IsOpen())
        return;
    QString cause;
    if (sink.file.Append(line, &cause))
        return;
    sink.failure = cause;
    sink.file.Close();
    // Said once, where whoever asked for the trace looks; the first line's failure is told by
    // StartTraceFile's caller.
    if (sink.started)
        std::fputs(
            ConsoleMessage(QStringLiteral("r718"),
                           QStringLiteral("ślad łącza nie jest już zapisywany w pliku %1: %2")
                               .arg(QDir::toNativeSeparators(sink.path), cause))
                .append(QLatin1Char('\n'))
                .toLocal8Bit()
                .constData(),
            stderr);
}

} // namespace

bool StartTraceFile(const QString& path, QString* error)
{
    TraceSink& sink = Sink();
    if (sink.file.IsOpen())
        return true;
    sink.path = path;
    if (!sink.file.Open(path, error))
        return false;
    sink.previousHandler = qInstallMessageHandler(WriteTrace);
    sink.previousFilter = QLoggingCategory::installFilter(EnableTrace);
    TraceLink(QStringLiteral("trace of r718 %1 started on %2")
                  .arg(ProgramVersion(), QDate::currentDate().toString(Qt::ISODate)));
    const QMutexLocker lock(&sink.mutex);
    if (!sink.failure.isEmpty()) {
        if (error)
            *error = sink.failure;
        return false;
    }
    sink.started = true;
    return true;
}

bool TraceWriteFailed()
{
    TraceSink& sink = Sink();
    const QMutexLocker lock(&sink.mutex);
    return sink.started && !sink.failure.isEmpty();
}
