// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckMode.h"

#include <QString>

// The dialogs that the meter check window and its ranges page open. The program shows the
// real ones; tests answer them from a script.
class MeterCheckDialogRunner
{
public:
    virtual ~MeterCheckDialogRunner() = default;

    // The file dialog for opening a ".met" file; an empty text when cancelled.
    virtual QString ChooseFileToOpen() = 0;
    // The file dialog for saving (asks before overwriting); an empty text when cancelled.
    virtual QString ChooseFileToSave() = 0;
    // The meter-data dialog on the document, for a new document or the open one (the method
    // then stays); true on OK.
    virtual bool RunMeterData(MeterCheckMode mode) = 0;
    // The range editor on range slot `range`, adding or editing; true on OK.
    virtual bool RunRangeDialog(MeterCheckMode mode, int range) = 0;
    // The point dialog on point slot `point` of range `range`, adding or editing; true on OK.
    virtual bool RunPointDialog(MeterCheckMode mode, int range, int point) = 0;
};
