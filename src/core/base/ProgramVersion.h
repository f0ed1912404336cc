// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The version of the program and its tools, as the build names it (for example "1.1").
QString ProgramVersion();
