// SPDX-License-Identifier: MIT
#include "ui/app/ProgramIcon.h"

QIcon ProgramIcon()
{
    QIcon icon;
    for (const char* size : {"16", "32", "48", "256"})
        icon.addFile(QStringLiteral(":/icon/r718-%1").arg(QLatin1String(size)));
    return icon;
}
