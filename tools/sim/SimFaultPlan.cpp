// SPDX-License-Identifier: MIT
#include "SimFaultPlan.h"

#include <QStringList>

SimAction SimFaultPlan::NextFrame()
{
    if (silentForever)
        return SimAction::Silence;
    if (silentFrames > 0) {
        --silentFrames;
        return SimAction::Silence;
    }
    if (nakFrames > 0) {
        --nakFrames;
        return SimAction::Nak;
    }
    if (garbageFrames > 0) {
        --garbageFrames;
        return SimAction::Garbage;
    }
    return SimAction::Answer;
}

bool SimFaultPlan::FrameDone()
{
    if (hangUpAfter <= 0)
        return false;
    return --hangUpAfter == 0;
}

int SimFaultPlan::TakeSplitPause()
{
    if (splitReplies <= 0)
        return 0;
    --splitReplies;
    return splitPauseMs;
}

bool SimFaultPlan::TakeMidHangUp(SimMidHangUp point)
{
    if (midHangUp != point || point == SimMidHangUp::None)
        return false;
    midHangUp = SimMidHangUp::None;
    return true;
}

int SimFaultPlan::TakeLateMs()
{
    if (lateForever)
        return lateMs;
    if (lateReplies <= 0)
        return 0;
    --lateReplies;
    return lateMs;
}

bool SimFaultPlan::TakeHangUpRequest()
{
    const bool requested = hangUpRequested;
    hangUpRequested = false;
    return requested;
}

bool SimFaultPlan::TakePlugInRequest()
{
    const bool requested = plugInRequested;
    plugInRequested = false;
    return requested;
}

// "split K" or "split K MS": the next K replies go in pieces, MS milliseconds apart (without
// MS, the pause set last).
QString SimFaultPlan::ApplySplit(const QStringList& words)
{
    bool ok = false;
    const int count = words.value(1).toInt(&ok);
    if (!ok || count < 0)
        return QStringLiteral("split wymaga liczby odpowiedzi");
    int pause = splitPauseMs;
    if (words.size() == 3) {
        pause = words[2].toInt(&ok);
        if (!ok || pause < 0 || pause > 10000)
            return QStringLiteral("split przyjmuje przerwę od 0 do 10000 ms");
    }
    splitReplies = count;
    splitPauseMs = pause;
    return QString();
}

// "late MS", "late MS K" or "late MS forever": the next reply, the next K replies or every
// reply goes MS milliseconds after the frame; "late off" ends it.
QString SimFaultPlan::ApplyLate(const QStringList& words)
{
    if (words.size() == 2 && words[1] == QLatin1String("off")) {
        lateReplies = 0;
        lateForever = false;
        return QString();
    }
    bool ok = false;
    const int ms = words.value(1).toInt(&ok);
    if (!ok || ms < 0 || ms > 10000)
        return QStringLiteral("late wymaga opóźnienia od 0 do 10000 ms");
    int count = 1;
    const bool always = words.value(2) == QLatin1String("forever");
    if (words.size() == 3 && !always) {
        count = words[2].toInt(&ok);
        if (!ok || count < 0)
            return QStringLiteral("late przyjmuje liczbę odpowiedzi albo forever");
    }
    lateMs = ms;
    lateReplies = always ? 0 : count;
    lateForever = always;
    return QString();
}

SimForcedRange SimFaultPlan::ForcedRange() const
{
    if (overRange)
        return SimForcedRange::Over;
    if (underRange)
        return SimForcedRange::Under;
    return SimForcedRange::None;
}

QString SimFaultPlan::Apply(const QString& line)
{
    const QStringList words =
        line.simplified().toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return QStringLiteral("pusty wiersz sterujący");
    const QString& what = words[0];
    const QString argument = words.value(1);
    if (what == QLatin1String("split") && words.size() >= 2 && words.size() <= 3)
        return ApplySplit(words);
    if (what == QLatin1String("late") && words.size() >= 2 && words.size() <= 3)
        return ApplyLate(words);
    if (words.size() > 2)
        return QStringLiteral("za dużo słów w wierszu sterującym: %1").arg(line);

    if (words.size() == 1) {
        if (what == QLatin1String("ping"))
            return QString();
        if (what == QLatin1String("hangup")) {
            hangUpRequested = true;
            return QString();
        }
        if (what == QLatin1String("plug-in")) {
            plugInRequested = true;
            return QString();
        }
        if (what == QLatin1String("clear")) {
            nakFrames = silentFrames = garbageFrames = hangUpAfter = splitReplies = 0;
            lateReplies = 0;
            silentForever = overRange = underRange = stayAway = lateForever = false;
            midHangUp = SimMidHangUp::None;
            return QString();
        }
        return QStringLiteral("nieznany wiersz sterujący: %1").arg(line);
    }

    if (what == QLatin1String("silence") && argument == QLatin1String("forever")) {
        silentForever = true;
        return QString();
    }
    if (what == QLatin1String("silence") && argument == QLatin1String("off")) {
        silentForever = false;
        silentFrames = 0;
        return QString();
    }

    if (what == QLatin1String("hangup-mid")) {
        if (argument == QLatin1String("frame"))
            midHangUp = SimMidHangUp::InFrame;
        else if (argument == QLatin1String("reply"))
            midHangUp = SimMidHangUp::BeforeReply;
        else if (argument == QLatin1String("off"))
            midHangUp = SimMidHangUp::None;
        else
            return QStringLiteral("hangup-mid przyjmuje frame, reply albo off");
        return QString();
    }

    bool* flag = nullptr;
    if (what == QLatin1String("over-range"))
        flag = &overRange;
    else if (what == QLatin1String("under-range"))
        flag = &underRange;
    else if (what == QLatin1String("pace"))
        flag = &pace;
    else if (what == QLatin1String("noise"))
        flag = &noise;
    else if (what == QLatin1String("stay-away"))
        flag = &stayAway;
    if (flag) {
        if (argument != QLatin1String("on") && argument != QLatin1String("off"))
            return QStringLiteral("%1 przyjmuje on albo off").arg(what);
        *flag = argument == QLatin1String("on");
        // The last forced range asked for is the one in force.
        if (flag == &overRange && overRange)
            underRange = false;
        if (flag == &underRange && underRange)
            overRange = false;
        return QString();
    }

    int* counter = nullptr;
    if (what == QLatin1String("nak"))
        counter = &nakFrames;
    else if (what == QLatin1String("silence"))
        counter = &silentFrames;
    else if (what == QLatin1String("garbage"))
        counter = &garbageFrames;
    else if (what == QLatin1String("hangup-after"))
        counter = &hangUpAfter;
    if (!counter)
        return QStringLiteral("nieznany wiersz sterujący: %1").arg(line);
    bool ok = false;
    const int count = argument.toInt(&ok);
    if (!ok || count < 0)
        return QStringLiteral("%1 wymaga liczby ramek").arg(what);
    *counter = count;
    return QString();
}
