// SPDX-License-Identifier: MIT
// r718-report: the verification report and the workbook export of .met files, without the
// windows; the pages and sheets are those of the meter check window.
#include "ReportCli.h"

#include "link/CalFunctionTable.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Runs on servers and in scripts: no display is needed for PDF pages and charts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    FillCalFunctionTable();

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = RunReportCommand(QApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return code;
}
