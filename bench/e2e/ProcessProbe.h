#pragma once

#include <sys/types.h>

namespace bench::e2e {

// Readings of a process from the kernel, for this process (pid 0) or a child.

// CPU time of every thread of this process, in seconds.
double ownCpuSeconds();
// CPU time of a process's main thread, in seconds, to the nanosecond where the kernel keeps
// scheduler statistics; -1 when it cannot be read.
double mainThreadCpuSeconds(pid_t pid);
// The peak resident set (VmHWM) in MiB; -1 when it cannot be read.
double peakResidentMiB(pid_t pid = 0);
// Starts the peak resident set again from the current one, so that the next reading is
// the peak of what happened in between. False when the kernel refused.
bool resetPeakResident(pid_t pid = 0);

}  // namespace bench::e2e
