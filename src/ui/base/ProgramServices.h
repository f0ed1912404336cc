// SPDX-License-Identifier: MIT
#pragma once

class ExcelExport;
class HistoryService;
class MessageService;
class WorkbookOpener;

// What the application owns for the whole program run and hands to its windows: the message
// boxes, the history of checks, the workbook that collects the run's exports and the program
// that shows it. Tests hand in recorders and fakes.
struct ProgramServices
{
    MessageService& messages;
    HistoryService& history;
    ExcelExport& workbookExport;
    WorkbookOpener& workbookOpener;
};
