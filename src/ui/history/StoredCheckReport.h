// SPDX-License-Identifier: MIT
#pragma once

class MessageService;
class PrintJobs;
struct CheckRecord;

// The verification report of a check kept in the history: the table page the meter check
// window prints, with the date and time of the check instead of today's. False after the
// printing message when it could not be printed.
bool PrintStoredCheck(const CheckRecord& record, PrintJobs& jobs, MessageService& messages);
