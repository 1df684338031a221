#include "common/TerminationSignals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace common {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

int terminationSignalPipe(std::initializer_list<int> signalNumbers)
{
    if (signalPipe[0] < 0) {
        if (::pipe(signalPipe) != 0)
            return -1;
        // A full pipe must not block the handler: one waiting byte is enough to end.
        ::fcntl(signalPipe[1], F_SETFL, ::fcntl(signalPipe[1], F_GETFL) | O_NONBLOCK);
        ::fcntl(signalPipe[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(signalPipe[1], F_SETFD, FD_CLOEXEC);
    }
    for (const int number : signalNumbers)
        std::signal(number, onSignal);
    return signalPipe[0];
}

}  // namespace common
