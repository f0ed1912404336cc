// SPDX-License-Identifier: MIT
#include "core/history/CheckNote.h"

#include "core/metercheck/report/ReportClock.h"

#include <QSysInfo>
#include <QUuid>

CheckNote CheckNote::New(const QString& checkId, CheckMark mark, const QString& text)
{
    CheckNote note;
    note.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    note.checkId = checkId;
    QDateTime now = QDateTime::currentDateTime();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    note.notedAt = now.toOffsetFromUtc(now.offsetFromUtc());
    note.computer = QSysInfo::machineHostName();
    note.user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    note.mark = mark;
    note.text = text.trimmed();
    return note;
}

QString CheckMarkText(CheckMark mark)
{
    switch (mark) {
    case CheckMark::AsFound:
        return QStringLiteral("przed regulacją (as found)");
    case CheckMark::AsLeft:
        return QStringLiteral("po regulacji (as left)");
    case CheckMark::None:
        break;
    }
    return QString();
}

CheckMark CheckMarkFromNumber(int number)
{
    switch (number) {
    case int(CheckMark::AsFound):
        return CheckMark::AsFound;
    case int(CheckMark::AsLeft):
        return CheckMark::AsLeft;
    default:
        return CheckMark::None;
    }
}

QString NoteProblem(CheckMark mark, const QString& text)
{
    if (mark == CheckMark::None && text.trimmed().isEmpty())
        return QStringLiteral("Wybierz oznaczenie sprawdzenia albo wpisz uwagę.");
    return QString();
}

QString NoteLine(const CheckNote& note)
{
    QString what = CheckMarkText(note.mark);
    if (!note.text.isEmpty())
        what += (what.isEmpty() ? QString() : QStringLiteral(" – ")) + note.text;
    return QStringLiteral("%1 %2, %3 (%4): %5")
        .arg(ReportDateText(note.notedAt.date()), ReportTimeText(note.notedAt.time()), note.user,
             note.computer, what);
}
