#pragma once

#include <QElapsedTimer>

class QWidget;

namespace ui {

// Every pending window message: repaints, timers, clicks and keys (a Stop click lands here).
void processPendingMessages();
// Repaints and timers only; clicks and keys wait until the next full pass. For the moments
// when the program's own data is half replaced and nothing the user does may act on it.
void processMessagesHoldingInput();
// Waits that long while window messages are processed as they come.
void waitProcessingMessages(int milliseconds);

// Lets window messages through at most every few milliseconds. A loop over 100,000 entities
// that asked the event loop after each one spent a quarter of its time painting the same
// progress again; a Stop click still lands within a few milliseconds. The first call after
// restart() always lets them through.
class MessagePumpThrottle {
public:
    explicit MessagePumpThrottle(int everyMilliseconds = 10) : every_(everyMilliseconds) {}
    void restart() { sinceLast_.invalidate(); }
    void processPendingMessages();

private:
    QElapsedTimer sinceLast_;
    int every_;
};

// Paints a progress display at once, so that it shows while an operation holds the thread;
// but not again within a frame's time: then it is painted with the next pass of the event
// loop. A loop over 100,000 entities would otherwise spend more time painting than working.
void repaintNowAndThen(QWidget& widget);

}  // namespace ui
