// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// What the command line of r718 asks for. It is read before the window system is started, so
// that --help, --version and a refusal work without a display.
struct StartOptions
{
    enum class Action
    {
        Run,    // start the windows
        Print,  // print `text` on standard output and end with `exitCode` (help, version)
        Refuse, // print `text` on standard error and end with `exitCode`
    };

    Action action = Action::Run;
    // 0 after help and version, 2 for bad arguments, 1 when the windows cannot be shown (or the
    // trace file cannot be written).
    int exitCode = 0;
    QString text;
    bool simulator = false;
    // --new-instance: a program of its own, which neither hands its document to the program
    // already running in the session nor takes documents from later starts.
    bool newInstance = false;
    bool splashAllowed = true;
    // --history: the history window alone, for browsing without a calibrator (the port stays
    // closed); a program of its own, like --new-instance.
    bool historyOnly = false;
    // FILE.met as an absolute path: the meter check window opens with it; empty when none.
    QString document;
    // --trace FILE: the link trace goes to this file; empty when not asked for.
    QString traceFile;
};

// Reads the arguments of r718 (the first is the program's name). Without a display the
// windows cannot run, which is refused with a message instead of Qt's abort.
StartOptions ParseCommandLine(const QStringList& arguments, bool displayAvailable = true);

// The desktop session the windows show in, for telling programs on different displays apart:
// the window system's name, with the display when it has one ("xcb-:0", "wayland-wayland-0",
// "offscreen"). Needs the application object.
QString DesktopSession();

// Whether there is a display for the windows: a chosen Qt platform (QT_QPA_PLATFORM), or an
// X11 or Wayland display; always true outside Linux and the BSDs.
bool DisplayAvailable();
