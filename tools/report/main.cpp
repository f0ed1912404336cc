// SPDX-License-Identifier: MIT
// r718-report: the verification report and the workbook export of .met files, without the
// windows; the pages and sheets are those of the meter check window.
#include "ReportCli.h"

#include "core/link/CalFunctionTable.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {

QtMessageHandler qtMessages = nullptr;

// Starting its platform, Qt asks for the session's runtime folder (to tell whether it runs in a
// sandbox) and warns when there is none, as on a server or under cron. The report needs no such
// folder, and nobody running it can do anything about the warning: it is left out, everything
// else goes through.
void LeaveOutRuntimeFolderWarning(QtMsgType type, const QMessageLogContext& context,
                                  const QString& message)
{
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    qtMessages(type, context, message);
}

} // namespace

int main(int argc, char* argv[])
{
    // Runs on servers and in scripts: no display is needed for PDF pages and charts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtMessages = qInstallMessageHandler(LeaveOutRuntimeFolderWarning);
    QApplication application(argc, argv);
    FillCalFunctionTable();

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = RunReportCommand(QApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return code;
}
