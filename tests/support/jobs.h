#pragma once

#include "app/busy.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>

#include <memory>

// A recording, a batch and a reading go on from signals once the call that started them has
// returned: a test lets the event loop run until they end (the program itself never waits).

// Until no recording and no reading runs; false when one still runs after `ms` (-1: no limit).
inline bool waitForJobs(int ms = 600000)
{
    const auto running = [] { return busy::runs(busy::Job::Recording) || busy::runs(busy::Job::Reading); };
    if (!running())
        return true;
    QEventLoop loop;
    busy::onJobsChanged(&loop, [&] {
        if (!running())
            loop.quit();
    });
    if (ms >= 0)
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return !running();
}

// Until the step of a recording (a JobStep) has ended; the step, now the caller's.
template <class Step> std::unique_ptr<Step> waitFor(Step *step, int ms = 600000)
{
    QSignalSpy ended(step, &Step::finished);
    ended.wait(ms);
    return std::unique_ptr<Step>(step);
}
