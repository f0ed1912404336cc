// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckSession.h"

// The meter check session of one test, as the program starts it: an empty document of format
// version 1.0, nothing selected, not modified, the file image all zeros. A test class keeps one
// and calls Reset() in init(); it is handed to whatever the test runs.
struct ScopedDocument : MeterCheckSession
{
    ScopedDocument() { Reset(); }
    ScopedDocument(const ScopedDocument&) = delete;
    ScopedDocument& operator=(const ScopedDocument&) = delete;

    void Reset()
    {
        static_cast<MeterCheckSession&>(*this) = MeterCheckSession();
        document.formatVersion = 1.0; // set by the main menu at start
    }
};
