// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class MessageService;
class PrintJobs;
struct CheckRecord;

// The verification report of a check kept in the history: the table page the meter check
// window prints, with the date and time of the check instead of today's, and the appendix
// when the check was made under a rule other than simple acceptance or the lab asks for it
// always (with `shortHash`, the record's short hash, when known). False after the printing
// message when it could not be printed.
bool PrintStoredCheck(const CheckRecord& record, PrintJobs& jobs, MessageService& messages,
                      const QString& shortHash = QString());
