#pragma once

#include <initializer_list>

namespace common {

// Turns each of the given signals into one byte on a pipe and returns the pipe's reading
// end (-1 when no pipe could be made). A program watches that end from its event loop and
// ends there in order, where a signal handler itself could do nothing safely. Bytes sent
// before the loop watches wait in the pipe. One pipe per process; POSIX only.
int terminationSignalPipe(std::initializer_list<int> signalNumbers);

}  // namespace common
