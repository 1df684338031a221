#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace bench::e2e {

// A timer of the ui thread ticking every 10 ms while an operation runs. A tick is processed
// only when the operation lets window messages through, so the longest time between two
// processed ticks (counting from the start and up to the end) is the longest the window
// stayed frozen.
class TickWatch : public QObject {
public:
    TickWatch();

    void start();
    void stop();

    double longestGapMs() const { return static_cast<double>(longestGapNs_) * 1e-6; }
    // When the longest gap ended, from the start; a gap ending at the stop lay at the end.
    double longestGapEndMs() const { return static_cast<double>(longestGapEndNs_) * 1e-6; }
    int ticks() const { return ticks_; }

private:
    void tick();

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastNs_ = 0;
    qint64 longestGapNs_ = 0;
    qint64 longestGapEndNs_ = 0;
    int ticks_ = 0;
};

}  // namespace bench::e2e
