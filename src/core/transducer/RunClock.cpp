// SPDX-License-Identifier: MIT
#include "core/transducer/RunClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace {

class EventLoopClock : public RunClock
{
public:
    EventLoopClock() { started.start(); }
    qint64 NowMs() const override { return started.elapsed(); }
    void CallAfter(qint64 ms, std::function<void()> due) override
    {
        QTimer::singleShot(std::chrono::milliseconds(qMax<qint64>(ms, 0)),
                           QCoreApplication::instance(), std::move(due));
    }

private:
    QElapsedTimer started;
};

} // namespace

RunClock& EventLoopRunClock()
{
    static EventLoopClock clock;
    return clock;
}
