// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckSession.h"

// The meter check session of one test, as the program starts it: an empty document of format
// version 1.0, nothing selected, not modified, the file image all zeros. A test class keeps one
// and calls Reset() in init(); it is handed to whatever the test runs.
struct ScopedDocument : MeterCheckSession
{
    ScopedDocument() { Reset(); }

    void Reset()
    {
        const MeterCheckSession fresh;
        document = fresh.document;
        document.formatVersion = 1.0; // set by the main menu at start
        currentRange = fresh.currentRange;
        currentPoint = fresh.currentPoint;
        documentName = fresh.documentName;
        meterCheckState = fresh.meterCheckState;
        markAllState = fresh.markAllState;
        fileImage = fresh.fileImage;
        SetModified(fresh.IsModified());
    }
};
