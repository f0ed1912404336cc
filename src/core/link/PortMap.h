// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Which device COM<n> stands for: the environment variable R718_COM<n>, else the settings
// entry "Ports/COM<n>", else the platform's own name (/dev/ttyS<n-1> on Linux, COM<n> on Windows).
QString PortDevicePath(int portNumber);

// The platform's own name of COM<n>: /dev/ttyS<n-1> on Linux, COM<n> on Windows.
QString PlatformPortName(int portNumber);

// Where the port map keeps its settings entries (organisation "Modrex", application "R718").
QString PortSettingsKey(int portNumber);

// The environment variable that maps COM<n> ("R718_COM<n>").
QString PortVariableName(int portNumber);
// COM<n> is mapped by its environment variable, which no setting can override.
bool PortFixedByEnvironment(int portNumber);
// Stores the device of COM<n> in the settings; an empty path removes the entry, so that the
// platform's own name applies again.
void StorePortDevice(int portNumber, const QString& path);
