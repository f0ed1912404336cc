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

bool SimFaultPlan::TakeHangUpRequest()
{
    const bool requested = hangUpRequested;
    hangUpRequested = false;
    return requested;
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
        return QStringLiteral("empty control line");
    const QString& what = words[0];
    const QString argument = words.value(1);
    if (words.size() > 2)
        return QStringLiteral("too many words: %1").arg(line);

    if (words.size() == 1) {
        if (what == QLatin1String("ping"))
            return QString();
        if (what == QLatin1String("hangup")) {
            hangUpRequested = true;
            return QString();
        }
        if (what == QLatin1String("clear")) {
            nakFrames = silentFrames = garbageFrames = hangUpAfter = 0;
            silentForever = overRange = underRange = false;
            return QString();
        }
        return QStringLiteral("unknown control line: %1").arg(line);
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

    bool* flag = nullptr;
    if (what == QLatin1String("over-range"))
        flag = &overRange;
    else if (what == QLatin1String("under-range"))
        flag = &underRange;
    else if (what == QLatin1String("pace"))
        flag = &pace;
    else if (what == QLatin1String("noise"))
        flag = &noise;
    if (flag) {
        if (argument != QLatin1String("on") && argument != QLatin1String("off"))
            return QStringLiteral("%1 takes on or off").arg(what);
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
        return QStringLiteral("unknown control line: %1").arg(line);
    bool ok = false;
    const int count = argument.toInt(&ok);
    if (!ok || count < 0)
        return QStringLiteral("%1 takes a frame count").arg(what);
    *counter = count;
    return QString();
}
