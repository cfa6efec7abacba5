#include "core/Wait.h"
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

namespace {
QPointer<QEventLoop> gLoop;
const std::function<bool()> *gPredicate = nullptr;
bool gWaiting = false;

void check()
{
    if (gLoop && gPredicate && (*gPredicate)())
        gLoop->quit();
}
} // namespace

WaitResult WaitUntil(const std::function<bool()> &predicate, int timeoutMs, int pollMs)
{
    if (gWaiting)
        return WaitResult::Busy;
    if (predicate())
        return WaitResult::Done;
    if (timeoutMs == 0)
        return WaitResult::Timeout;

    gWaiting = true;
    QEventLoop loop;
    gLoop = &loop;
    gPredicate = &predicate;
    QTimer poll;
    poll.setInterval(std::max(1, pollMs));
    QObject::connect(&poll, &QTimer::timeout, &loop, check);
    poll.start();
    QTimer limit;
    if (timeoutMs > 0) {
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(timeoutMs);
    }
    loop.exec(QEventLoop::AllEvents);
    gLoop = nullptr;
    gPredicate = nullptr;
    gWaiting = false;
    // The condition wins over a time-out that fell due in the same pass; a loop
    // ended from outside (the program quitting) counts as a time-out.
    return predicate() ? WaitResult::Done : WaitResult::Timeout;
}

bool IsWaiting() { return gWaiting; }

void WaitNotify()
{
    if (gLoop)
        QTimer::singleShot(0, gLoop.data(), check);
}
