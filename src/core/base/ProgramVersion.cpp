// SPDX-License-Identifier: MIT
#include "core/base/ProgramVersion.h"

QString ProgramVersion()
{
    return QStringLiteral(R718_VERSION);
}
