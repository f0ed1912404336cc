// SPDX-License-Identifier: MIT
#include "HistoryTestData.h"

#include "core/history/HistoryConfig.h"
#include "core/link/NumberText.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

void FillSampleDocument(MeterCheckDoc& doc, const QString& meterName, const QString& meterNumber,
                        const QStringList& readings)
{
    doc.meterName = meterName;
    doc.meterNumber = meterNumber;
    MeterRange& r = doc.ranges[0];
    r.rangeDefined = 1;
    r.rangeMeasured = 1;
    r.rangeValue = "400";
    r.rangeUnit = "mV";
    r.classRange = "0.1";
    r.calFunction = 1;
    for (int j = 0; j < readings.size(); ++j) {
        MeterPoint& p = r.points[j];
        const double setting = 100.0 * (j + 1);
        p.pointDefined = 1;
        p.marked = 1;
        p.pointMeasured = 1;
        p.unit = "mV";
        p.setting = FormatFixed(setting, 2);
        p.reading = readings[j];
        p.actualError = FormatFixed(ParseNumber(readings[j]) - setting, 2);
        p.permissibleError = "0.40";
        p.calibratorError = "0.05";
    }
}

CheckRecord SampleCheck(const QString& meterName, const QString& meterNumber,
                        const QDateTime& checkedAt, const QStringList& readings)
{
    auto doc = std::make_unique<MeterCheckDoc>();
    FillSampleDocument(*doc, meterName, meterNumber, readings);
    RunContext context;
    context.endedAt = checkedAt;
    context.computer = "stanowisko-1";
    context.user = "technik";
    context.documentPath = "/lab/" + meterNumber + ".met";
    return BuildCheckRecords(*doc, {0}, context).value(0);
}

CheckRecord Content(CheckRecord record)
{
    record.chainHash.clear();
    record.notes.clear();
    return record;
}

void ForgetLocalHistory()
{
    QDir(QFileInfo(LocalHistoryPath()).absolutePath()).removeRecursively();
}
