// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Which device COM<n> stands for: the environment variable R718_COM<n>, else the settings
// entry "Ports/COM<n>", else the platform's own name (/dev/ttyS<n-1> on Linux, COM<n> on Windows).
QString PortDevicePath(int portNumber);

// Where the port map keeps its settings entries (organisation "Modrex", application "R718").
QString PortSettingsKey(int portNumber);
