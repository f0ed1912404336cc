// SPDX-License-Identifier: MIT
#include "core/app/TraceFile.h"

#include "core/base/ConsoleText.h"
#include "core/base/ProgramVersion.h"
#include "core/link/LinkTrace.h"

#include <QDate>
#include <QDir>
#include <QMutexLocker>

#include <cstdio>

namespace {

// The category's name, compared as text: the filter runs under Qt's lock of the categories,
// where the category object must not be asked for.
constexpr char traceCategory[] = "r718.link";

// The trace file Qt's handler and filter serve, from its start to its end. Qt gives them no
// context of their own, so this is the one place they can find it.
TraceFile* activeTrace = nullptr;

} // namespace

TraceFile::~TraceFile()
{
    // Messages of the program's last moments go where they went before.
    Stop();
}

void TraceFile::Stop()
{
    if (activeTrace != this)
        return;
    qInstallMessageHandler(previousHandler);
    QLoggingCategory::installFilter(previousFilter);
    activeTrace = nullptr;
    file.Close();
}

void TraceFile::Enable(QLoggingCategory* category)
{
    const TraceFile* trace = activeTrace;
    if (trace && trace->previousFilter)
        trace->previousFilter(category);
    if (qstrcmp(category->categoryName(), traceCategory) == 0)
        category->setEnabled(QtDebugMsg, true);
}

void TraceFile::Write(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    TraceFile& trace = *activeTrace;
    if (!context.category || qstrcmp(context.category, traceCategory) != 0) {
        trace.previousHandler(type, context, message);
        return;
    }
    const QByteArray line = message.toUtf8() + '\n';
    const QMutexLocker lock(&trace.mutex);
    if (!trace.failure.isEmpty() || !trace.file.IsOpen())
        return;
    QString cause;
    if (trace.file.Append(line, &cause))
        return;
    trace.failure = cause;
    trace.file.Close();
    // Said once, where whoever asked for the trace looks; the first line's failure is told by
    // the caller of Start.
    if (trace.started)
        std::fputs(
            ConsoleMessage(QStringLiteral("r718"),
                           QStringLiteral("ślad łącza nie jest już zapisywany w pliku %1: %2")
                               .arg(QDir::toNativeSeparators(trace.path), cause))
                .append(QLatin1Char('\n'))
                .toLocal8Bit()
                .constData(),
            stderr);
}

bool TraceFile::Start(const QString& path, QString* error)
{
    if (file.IsOpen())
        return true;
    Q_ASSERT(!activeTrace); // one trace file at a time: Qt's handler serves one
    this->path = path;
    if (!file.Open(path, error))
        return false;
    activeTrace = this;
    previousHandler = qInstallMessageHandler(Write);
    previousFilter = QLoggingCategory::installFilter(Enable);
    TraceLink(QStringLiteral("trace of r718 %1 started on %2")
                  .arg(ProgramVersion(), QDate::currentDate().toString(Qt::ISODate)));
    QString firstLineFailure;
    {
        const QMutexLocker lock(&mutex);
        firstLineFailure = failure;
        started = failure.isEmpty();
    }
    if (!firstLineFailure.isEmpty()) {
        Stop();
        if (error)
            *error = firstLineFailure;
        return false;
    }
    return true;
}

bool TraceFile::WriteFailed() const
{
    const QMutexLocker lock(&mutex);
    return started && !failure.isEmpty();
}
