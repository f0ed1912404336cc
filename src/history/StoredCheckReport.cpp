// SPDX-License-Identifier: MIT
#include "history/StoredCheckReport.h"

#include "history/CheckRecord.h"
#include "metercheck/document/MeterCheckDoc.h"
#include "metercheck/output/ProtocolPrinter.h"
#include "metercheck/output/ReportClock.h"

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

bool PrintStoredCheck(const CheckRecord& record, PrintJobs& jobs)
{
    const std::unique_ptr<MeterCheckDoc> doc = DocumentOfRecord(record);
    return PrintProtocolTable(jobs, *doc, 0, CheckClock(record.checkedAt));
}
