// SPDX-License-Identifier: MIT
#include "core/metercheck/document/MeterCheckSession.h"

void MeterCheckSession::SetModified(bool modified)
{
    if (documentModified == modified)
        return;
    documentModified = modified;
    emit modifiedChanged(modified);
}
