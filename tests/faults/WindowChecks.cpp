#include "WindowChecks.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace faults {

namespace {

// Far above anything an operation needs, even with a busy host, short of a stuck suite.
constexpr int kHangGuardSeconds = 60;
constexpr int kAnswerBoundMs = 10000;

}  // namespace

void runBounded(const std::function<void()>& userAction)
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!finished.wait_for(lock, std::chrono::seconds(kHangGuardSeconds), [&] { return done; })) {
            std::fprintf(stderr, "The window did not come back from the operation within %d s\n", kHangGuardSeconds);
            std::abort();
        }
    });
    userAction();
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();
}

void expectAnswersInput(QWidget& window)
{
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal loop was left behind";
    EXPECT_TRUE(window.isEnabled());
    bool answered = false;
    QTimer::singleShot(0, &window, [&answered] { answered = true; });
    const QDeadlineTimer deadline(kAnswerBoundMs);
    while (!answered && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(answered) << "the window does not answer input";
}

}  // namespace faults
