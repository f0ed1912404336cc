// SPDX-License-Identifier: MIT
// r718-sim: a simulated R718 calibrator on a pseudo-terminal. Prints the device path as its
// first line of output; the program under test opens that path as its serial port.

#include "SimEngine.h"
#include "SimFrameLog.h"
#include "SimPty.h"
#include "SimServer.h"

#include "base/ProgramVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

struct FaultOption
{
    const char* name;
    const char* control; // the control line the option stands for; "%1" takes the value
    const char* help;
    const char* valueName = "k";
};

constexpr FaultOption faultOptions[] = {
    {"nak", "nak %1", "Answer the next <k> frames with NAK."},
    {"silence", "silence %1", "Do not answer the next <k> frames."},
    {"garbage", "garbage %1", "Answer the next <k> frames with garbage."},
    {"hangup-after", "hangup-after %1", "Hang up the line after <k> frames."},
    {"hangup-mid", "hangup-mid %1",
     "Hang up in the middle of the next transaction: frame = after the first two bytes of the "
     "frame, reply = after the whole frame, before the reply.",
     "frame|reply"},
};

constexpr FaultOption switchOptions[] = {
    {"silence-forever", "silence forever", "Never answer."},
    {"over-range", "over-range on", "Every reading is over the range."},
    {"under-range", "under-range on", "Every reading is under the range."},
    {"no-pace", "pace off", "Send replies at once instead of at 9600 baud."},
    {"no-noise", "noise off", "Readings without noise."},
    {"stay-away", "stay-away on",
     "After a hang-up the device stays away (the --link path goes) until the control line "
     "plug-in brings it back; without it a new device comes at once."},
};

} // namespace

int main(int argc, char* argv[])
{
#ifdef __linux__
    // The instrument goes when the program that started it goes, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("r718-sim"));
    QCoreApplication::setApplicationVersion(ProgramVersion());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated R718 calibrator on a pseudo-terminal. Prints the device path first; "
        "reads control lines (nak K, silence K|forever|off, garbage K, split K [MS], hangup, "
        "hangup-after K, hangup-mid frame|reply|off, stay-away on|off, plug-in, "
        "over-range on|off, under-range on|off, pace on|off, noise on|off, clear, ping) on "
        "standard input and answers each with ok or error."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Make <path> a link to the device."),
                                        QStringLiteral("path"));
    const QCommandLineOption logOption(QStringLiteral("log"),
                                       QStringLiteral("Log every frame to <file> (- for "
                                                      "standard error)."),
                                       QStringLiteral("file"));
    const QCommandLineOption parentOption(QStringLiteral("parent"),
                                          QStringLiteral("End at once unless <pid> is the "
                                                         "parent process."),
                                          QStringLiteral("pid"));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"), QStringLiteral("Seed of the reading noise."), QStringLiteral("n"));
    const QCommandLineOption splitOption(
        QStringLiteral("split"),
        QStringLiteral("Send the next <k> replies in three pieces with a pause between them."),
        QStringLiteral("k"));
    const QCommandLineOption splitPauseOption(
        QStringLiteral("split-pause"),
        QStringLiteral("The pause between the pieces of a split reply (default 100; past the "
                       "400 ms read window the tail comes too late)."),
        QStringLiteral("ms"));
    parser.addOptions(
        {linkOption, logOption, parentOption, seedOption, splitOption, splitPauseOption});
    for (const FaultOption& o : faultOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(o.name),
                                            QString::fromLatin1(o.help),
                                            QString::fromLatin1(o.valueName)));
    for (const FaultOption& o : switchOptions)
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(o.name), QString::fromLatin1(o.help)));
    // Bad arguments end with 2, as in the other tools (QCommandLineParser::process uses 1).
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "r718-sim: %s\nHelp: r718-sim --help\n",
                     qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(versionOption))
        parser.showVersion();
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "r718-sim: unexpected argument %s\nHelp: r718-sim --help\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }

    // The parent may have gone before the death signal was asked for.
    if (parser.isSet(parentOption) && getppid() != parser.value(parentOption).toLongLong())
        return 0;

    SimEngine engine;
    for (const FaultOption& o : faultOptions) {
        if (!parser.isSet(QString::fromLatin1(o.name)))
            continue;
        const QString error = engine.plan.Apply(
            QString::fromLatin1(o.control).arg(parser.value(QString::fromLatin1(o.name))));
        if (!error.isEmpty()) {
            std::fprintf(stderr, "r718-sim: %s\n", qPrintable(error));
            return 2;
        }
    }
    for (const FaultOption& o : switchOptions) {
        if (parser.isSet(QString::fromLatin1(o.name)))
            engine.plan.Apply(QString::fromLatin1(o.control));
    }
    if (parser.isSet(splitOption) || parser.isSet(splitPauseOption)) {
        const QString split =
            QStringLiteral("split %1 %2")
                .arg(parser.isSet(splitOption) ? parser.value(splitOption) : QStringLiteral("0"),
                     parser.isSet(splitPauseOption)
                         ? parser.value(splitPauseOption)
                         : QString::number(SimFaultPlan::defaultSplitPauseMs));
        const QString error = engine.plan.Apply(split);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "r718-sim: %s\n", qPrintable(error));
            return 2;
        }
    }
    if (parser.isSet(seedOption))
        engine.instrument.SetSeed(parser.value(seedOption).toUInt());

    SimFrameLog log;
    if (parser.isSet(logOption) && !log.Open(parser.value(logOption).toLocal8Bit())) {
        std::fprintf(stderr, "r718-sim: cannot open the log %s\n",
                     qPrintable(parser.value(logOption)));
        return 1;
    }
    if (!SimServer::InstallSignalHandlers()) {
        std::perror("r718-sim: signal pipe");
        return 1;
    }

    SimPty pty;
    QByteArray error;
    if (!pty.Open(&error)) {
        std::fprintf(stderr, "r718-sim: %s\n", error.constData());
        return 1;
    }
    const QByteArray linkPath = parser.value(linkOption).toLocal8Bit();
    if (!pty.Link(linkPath)) {
        std::perror("r718-sim: link");
        return 1;
    }
    SimServer::Say(pty.SlavePath());
    return SimServer(engine, log, pty, linkPath).Run();
}
