// SPDX-License-Identifier: MIT
#pragma once

class MessageService;
class PrintJobs;
struct ConformityAppendix;

// The appendix of the verification report (the statements of conformity) as one print job
// of as many pages as its rows need, in the 0.01 mm coordinates of the table page. A range
// that goes on over a page break repeats its heading and the column headings. False after
// the printing message when it could not be printed (the pages made before a failure stay).
bool PrintConformityAppendix(PrintJobs& jobs, const ConformityAppendix& appendix,
                             MessageService& messages);
