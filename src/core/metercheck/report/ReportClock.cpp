// SPDX-License-Identifier: MIT
#include "core/metercheck/report/ReportClock.h"

namespace {

class SystemClock : public ReportClock
{
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// The fields are printed space-padded and the blanks turned into zeros, so a year below 1000
// still comes out with four digits.
QString ZeroBlanks(QString text, int count)
{
    for (int i = 0; i < count && i < text.size(); ++i) {
        if (text[i] == QLatin1Char(' '))
            text[i] = QLatin1Char('0');
    }
    return text;
}

} // namespace

ReportClock& SystemReportClock()
{
    static SystemClock clock;
    return clock;
}

QString ReportDateText(const QDate& date)
{
    return ZeroBlanks(QString::asprintf("%2d.%2d.%4d", date.day(), date.month(), date.year()), 10);
}

QString ReportTimeText(const QTime& time)
{
    return ZeroBlanks(QString::asprintf("%2d:%2d:%2d", time.hour(), time.minute(), time.second()),
                      8);
}
