// SPDX-License-Identifier: MIT
#include "ui/app/CCalibratorApp.h"
#include "ui/app/CommandLine.h"
#include "core/app/SingleInstance.h"
#include "core/app/TraceFile.h"
#include "core/base/ConsoleText.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

void Say(const QString& text)
{
    std::fputs(QStringLiteral("r718: %1\n").arg(text).toLocal8Bit().constData(), stderr);
}

// Whether this program runs: false when the program already running in the session took the
// document (it comes forward and opens it there).
bool ClaimSession(SingleInstance& session, const StartOptions& options)
{
    switch (session.ClaimOrHandOver(options.document)) {
    case SingleInstance::Claim::First:
        return true;
    case SingleInstance::Claim::HandedOver:
        Say(options.document.isEmpty()
                ? QStringLiteral("program już działa; jego okno jest na wierzchu")
                : QStringLiteral("program już działa; przekazano mu plik %1")
                      .arg(options.document));
        if (!options.traceFile.isEmpty())
            Say(QStringLiteral("ślad łącza zapisuje tylko nowy program: r718 --new-instance "
                               "--trace PLIK"));
        return false;
    case SingleInstance::Claim::NoAnswer:
        Say(QStringLiteral("działający już program nie odpowiada; ten pracuje osobno"));
        return true;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Help, version and refusals need no display, so the arguments are read before the
    // window system starts.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartOptions options = ParseCommandLine(arguments, DisplayAvailable());
    if (options.action != StartOptions::Action::Run) {
        std::FILE* stream = options.action == StartOptions::Action::Print ? stdout : stderr;
        std::fputs(options.text.toLocal8Bit().constData(), stream);
        return options.exitCode;
    }
    // The trace goes to its file from before the first window to the end of the run.
    TraceFile trace;
    QString traceError;
    if (!options.traceFile.isEmpty() && !trace.Start(options.traceFile, &traceError)) {
        const QString message =
            ConsoleMessage(QStringLiteral("r718"),
                           QStringLiteral("nie można zapisać śladu łącza w pliku %1: %2")
                               .arg(QDir::toNativeSeparators(options.traceFile), traceError));
        std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
        return 1;
    }

    QApplication application(argc, argv);
    // One program per desktop session: a later start hands its document to the running one.
    SingleInstance session(SingleInstance::SessionSocketPath(DesktopSession(), options.simulator));
    if (!options.newInstance && !ClaimSession(session, options))
        return 0;
    CCalibratorApp app(options, options.newInstance ? nullptr : &session);
    const int code = app.Run();
    // A trace asked for and not written whole is a failed run, whatever else went right.
    return trace.WriteFailed() ? 1 : code;
}
