#include "ProcessProbe.h"

#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace bench::e2e {

namespace {

std::string procPath(pid_t pid, const char* leaf)
{
    return (pid == 0 ? std::string("/proc/self/") : "/proc/" + std::to_string(pid) + "/") + leaf;
}

}  // namespace

double ownCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double mainThreadCpuSeconds(pid_t pid)
{
    std::ifstream in(procPath(pid, "schedstat"));
    unsigned long long nanoseconds = 0;
    if (in >> nanoseconds)
        return static_cast<double>(nanoseconds) * 1e-9;
    return -1.0;
}

double peakResidentMiB(pid_t pid)
{
    std::ifstream in(procPath(pid, "status"));
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            double kib = 0.0;
            if (fields >> kib)
                return kib / 1024.0;
        }
    }
    return -1.0;
}

bool resetPeakResident(pid_t pid)
{
    std::ofstream out(procPath(pid, "clear_refs"));
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace bench::e2e
