// SPDX-License-Identifier: MIT
#include "app/CalibratorApp.h"
#include "app/SimulatorLauncher.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // With --simulator the ports lead to r718-sim, which ends with the program.
    SimulatorLauncher simulator;
    if (SimulatorLauncher::Requested(QApplication::arguments()))
        simulator.Start();
    CCalibratorApp app(QApplication::arguments());
    return app.Run();
}
