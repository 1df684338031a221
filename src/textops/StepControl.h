#pragma once

#include <functional>

namespace textops {

// What a long text command needs from its window between two steps. Either function may be
// left empty: no pumping, and never stopped.
struct StepControl {
    // Lets the window repaint and its buttons work; a Stop click lands here.
    std::function<void()> processPendingMessages;
    // The main window's runFlag; false once Stop has been pressed.
    std::function<bool()> runFlag;

    void pump() const
    {
        if (processPendingMessages)
            processPendingMessages();
    }
    bool keepRunning() const { return !runFlag || runFlag(); }
};

}  // namespace textops
