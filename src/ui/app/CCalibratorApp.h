// SPDX-License-Identifier: MIT
#pragma once

#include "ui/app/CommandLine.h"

#include <QStringList>

class SingleInstance;

// The application object: prepares the process, fills the calibrator's function table and
// runs the main menu modally; the program ends when the menu closes. A document named on the
// command line opens in the meter check window as soon as the menu is up; so does one that a
// later start of the program hands over through `session` (when given).
class CCalibratorApp
{
public:
    explicit CCalibratorApp(const StartOptions& options, SingleInstance* session = nullptr);
    int Run();

    // The start-up picture is shown unless a flag argument ("/" or "-") is "Embedding" or
    // "Automation".
    static bool SplashAllowed(const QStringList& arguments);

private:
    StartOptions options;
    SingleInstance* session;
};
