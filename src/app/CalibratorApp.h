// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

// The application object: prepares the process, fills the calibrator's function table and
// runs the main menu modally; the program ends when the menu closes.
class CCalibratorApp
{
public:
    explicit CCalibratorApp(const QStringList& arguments);
    int Run();

    // The start-up picture is shown unless a flag argument ("/" or "-") is "Embedding" or
    // "Automation".
    static bool SplashAllowed(const QStringList& arguments);

private:
    QStringList arguments;
};
