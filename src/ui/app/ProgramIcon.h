// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

// The program's icon in the sizes drawn for it (16, 32, 48 and 256 pixels).
QIcon ProgramIcon();
