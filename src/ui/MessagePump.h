#pragma once

namespace ui {

// Every pending window message: repaints, timers, clicks and keys (a Stop click lands here).
void processPendingMessages();
// Repaints and timers only; clicks and keys wait until the next full pass. For the moments
// when the program's own data is half replaced and nothing the user does may act on it.
void processMessagesHoldingInput();
// Waits that long while window messages are processed as they come.
void waitProcessingMessages(int milliseconds);

}  // namespace ui
