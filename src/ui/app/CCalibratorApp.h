// SPDX-License-Identifier: MIT
#pragma once

#include "core/app/SimulatorLauncher.h"
#include "core/history/HistoryService.h"
#include "core/metercheck/report/ExcelExport.h"
#include "ui/app/CommandLine.h"
#include "ui/base/BoxMessageService.h"
#include "ui/metercheck/report/OutputCommands.h"

#include <QStringList>

class SingleInstance;

// The application object: prepares the process, fills the calibrator's function table and
// runs the main menu modally; the program ends when the menu closes (with --history: the
// history window alone, and no link to the calibrator). A document named on the
// command line opens in the meter check window as soon as the menu is up; so does one that a
// later start of the program hands over through `session` (when given).
//
// It owns what lives as long as the program run and hands it to the windows: the message
// boxes, the history of checks, the workbook of the run's exports and the program that shows
// it, and (with --simulator) the simulated calibrator.
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
    BoxMessageService messageBoxes;
    HistoryService history;
    ExcelExport workbookExport{messageBoxes};
    DesktopWorkbookOpener workbookOpener;
    // With --simulator the ports lead to r718-sim, which ends with the program.
    SimulatorLauncher simulator;
};
