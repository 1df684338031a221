#include "WindowChecks.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <QWidget>
#include <QWindow>

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
    // A control of the test's own, on top of the window, clicked and then keyed the way the
    // platform delivers a user's input: through the window, where a modal dialog, a
    // disabled window, a mouse grab or a filter that eats input would stop it.
    QCheckBox probe(QStringLiteral("probe"), &window);
    probe.setObjectName(QStringLiteral("answersInputProbe"));
    probe.setFocusPolicy(Qt::StrongFocus);
    probe.adjustSize();
    probe.move(0, 0);
    probe.raise();
    probe.show();
    QWindow* handle = window.windowHandle();
    ASSERT_NE(handle, nullptr) << "the window is not shown";
    const QPoint centre = probe.mapTo(&window, probe.rect().center());
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_TRUE(probe.isChecked()) << "the window does not answer a click";
    EXPECT_EQ(QApplication::focusWidget(), &probe) << "the click did not take the keyboard focus";
    QTest::keyClick(handle, Qt::Key_Space);
    EXPECT_FALSE(probe.isChecked()) << "the window does not answer a key";
}

}  // namespace faults
