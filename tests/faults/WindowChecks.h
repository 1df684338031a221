#pragma once

#include <functional>

class QWidget;

namespace faults {

// Runs a click or key while a watchdog waits: an operation that hangs ends the test program
// (and fails its test) instead of stalling the suite.
void runBounded(const std::function<void()>& userAction);

// After an operation: no modal loop is left behind, the window is enabled, and a click and
// a key sent to it through the platform reach a control in it.
void expectAnswersInput(QWidget& window);

}  // namespace faults
