// SPDX-License-Identifier: MIT
#include "base/ProgramVersion.h"

QString ProgramVersion()
{
    return QStringLiteral(R718_VERSION);
}
