// SPDX-License-Identifier: MIT
#pragma once

#include "OutputTestData.h"
#include "RecordingMessageService.h"
#include "core/history/HistoryService.h"
#include "core/metercheck/report/ExcelExport.h"
#include "ui/base/ProgramServices.h"

// What the application owns and hands to its windows, for a test: the messages recorded (by a
// recorder of its own, or by the one given, such as a fake link's), the history of checks (on
// the database the test's environment names), a workbook of its own and an opener that records
// the workbooks it is asked to show. Handed to a window as the program's services.
struct TestServices
{
    TestServices() : TestServices(ownMessages) {}
    explicit TestServices(RecordingMessageService& recorder) : messages(recorder) {}

    operator ProgramServices() { return {messages, history, workbookExport, workbookOpener}; }

private:
    RecordingMessageService ownMessages;

public:
    RecordingMessageService& messages;
    HistoryService history;
    ExcelExport workbookExport{messages};
    RecordingOpener workbookOpener;
};
