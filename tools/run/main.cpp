// SPDX-License-Identifier: MIT
// r718-run: transducer checks and source programs against the calibrator without the windows,
// for scripts.
#include "RunCli.h"

#include "core/link/CalFunctionTable.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("r718-run"));
    FillCalFunctionTable();

    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = RunCommand(QCoreApplication::arguments(), out, err);
    out.flush();
    err.flush();
    return code;
}
