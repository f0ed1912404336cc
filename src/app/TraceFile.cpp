// SPDX-License-Identifier: MIT
#include "app/TraceFile.h"

#include "base/ProgramVersion.h"
#include "link/LinkTrace.h"

#include <QDate>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

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

    QFile file;
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
    sink.file.write(line);
    sink.file.flush();
}

} // namespace

bool StartTraceFile(const QString& path, QString* error)
{
    TraceSink& sink = Sink();
    if (sink.file.isOpen())
        return true;
    sink.file.setFileName(path);
    if (!sink.file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = sink.file.errorString();
        return false;
    }
    sink.previousHandler = qInstallMessageHandler(WriteTrace);
    sink.previousFilter = QLoggingCategory::installFilter(EnableTrace);
    TraceLink(QStringLiteral("trace of r718 %1 started on %2")
                  .arg(ProgramVersion(), QDate::currentDate().toString(Qt::ISODate)));
    return true;
}
