// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

class CalibratorLink;

// Where the user's COM port choice is kept (QSettings, organisation "Modrex"; on Windows the
// current user's registry):
// - application "R718", key "Com/Port" (HKCU\Software\Modrex\R718\Com, value "Port"): the list
//   index 0-3 written by the port settings dialog;
// - application "Tevano 718", key "Port" (HKCU\Software\Modrex\Tevano 718, value "Port"): the
//   place earlier installations kept it, still read at start-up when the first is absent.
// The port number used by the link is the index + 1.
namespace PortSettings {

// The index stored by the port settings dialog; empty when absent or not a number.
std::optional<int> StoredPortIndex();
// Stores the index for the port settings dialog (also -1 when nothing was chosen).
void StorePortIndex(int index);

// The port number the program starts with: the dialog's stored index + 1; when that is
// absent, the "Tevano 718" value + 1; when neither is there, 1 (COM1).
int StartupPortNumber();

// Port settings dialog, opening: reads the stored index (0 when absent), sets the link's port
// number to index + 1 and returns the index for the list.
int LoadPortChoice(CalibratorLink& link);

// Port settings dialog, OK: stores the index; when a device is given, stores it for COM<index+1>
// (an empty text: the platform's own device) if it differs from the device that port stands
// for now; sets the link's port number to index + 1 and tries the port: open it, send "X",
// close it, and wait (the windows repainted, input waiting) until "X" was answered or given up.
// False when the port could not be opened (the link has already said so); the choice stays
// stored.
bool ApplyPortChoice(CalibratorLink& link, int index,
                     const std::optional<QString>& device = std::nullopt);

} // namespace PortSettings
