// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

// The font the window layouts are measured for: the dialog units assume an 8-point sans-serif
// dialog font (11 px at 96 dpi). Arial where it exists, its metric twin Liberation Sans on Linux.
QFont DialogFont();
