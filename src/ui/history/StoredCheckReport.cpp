// SPDX-License-Identifier: MIT
#include "ui/history/StoredCheckReport.h"

#include "core/history/CheckRecord.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "ui/metercheck/report/ProtocolPrinter.h"
#include "core/metercheck/report/ReportClock.h"

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

bool PrintStoredCheck(const CheckRecord& record, PrintJobs& jobs, MessageService& messages)
{
    const std::unique_ptr<MeterCheckDoc> doc = DocumentOfRecord(record);
    return PrintProtocolTable(jobs, *doc, 0, CheckClock(record.checkedAt), messages);
}
