// SPDX-License-Identifier: MIT
#pragma once

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
    // The meter-data dialog on the document (meterCheckState 3 or 5); true on OK.
    virtual bool RunMeterData() = 0;
    // The range editor on slot currentRange (meterCheckState 1 or 2); true on OK.
    virtual bool RunRangeDialog() = 0;
    // The point dialog on point currentPoint of range currentRange (meterCheckState 6 or 7);
    // true on OK.
    virtual bool RunPointDialog() = 0;
};
