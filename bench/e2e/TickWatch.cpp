#include "TickWatch.h"

#include <algorithm>

namespace bench::e2e {

TickWatch::TickWatch()
{
    timer_.setInterval(10);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TickWatch::tick);
}

void TickWatch::start()
{
    ticks_ = 0;
    longestGapNs_ = 0;
    longestGapEndNs_ = 0;
    clock_.start();
    lastNs_ = 0;
    timer_.start();
}

void TickWatch::stop()
{
    tick();
    --ticks_;  // the closing reading is no tick
    timer_.stop();
}

void TickWatch::tick()
{
    const qint64 now = clock_.nsecsElapsed();
    if (now - lastNs_ > longestGapNs_) {
        longestGapNs_ = now - lastNs_;
        longestGapEndNs_ = now;
    }
    lastNs_ = now;
    ++ticks_;
}

}  // namespace bench::e2e
