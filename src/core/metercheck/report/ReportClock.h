// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

// The report prints the local date and time; tests put their own clock in.
class ReportClock
{
public:
    virtual ~ReportClock() = default;
    virtual QDateTime Now() const = 0;
};

// The local time of the machine.
ReportClock& SystemReportClock();

// "05.03.2004": day and month with two digits, the year with four.
QString ReportDateText(const QDate& date);
// "09:07:45": hour, minute and second with two digits each.
QString ReportTimeText(const QTime& time);
