// SPDX-License-Identifier: MIT
#include "ui/history/StoredCheckReport.h"

#include "core/history/CheckRecord.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/report/ConformityAppendix.h"
#include "core/metercheck/report/ReportClock.h"
#include "ui/metercheck/report/AppendixPage.h"
#include "ui/metercheck/report/ProtocolPrinter.h"

namespace {

class CheckClock : public ReportClock
{
public:
    explicit CheckClock(const QDateTime& at) : at(at) {}
    QDateTime Now() const override { return at; }

private:
    QDateTime at;
};

} // namespace

bool PrintStoredCheck(const CheckRecord& record, PrintJobs& jobs, MessageService& messages,
                      const QString& shortHash)
{
    const std::unique_ptr<MeterCheckDoc> doc = DocumentOfRecord(record);
    if (!PrintProtocolTable(jobs, *doc, 0, CheckClock(record.checkedAt), messages))
        return false;
    // The record keeps the rule it was made under; "always" is the lab's choice of today.
    if (record.decisionRule == DecisionRule::SimpleAcceptance &&
        !LabPolicy::FromSettings().appendixAlways)
        return true;
    return PrintConformityAppendix(jobs, BuildConformityAppendix({record}, {shortHash}), messages);
}
