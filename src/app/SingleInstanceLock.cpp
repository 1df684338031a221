#include "app/SingleInstanceLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <string>

namespace app {

std::filesystem::path SingleInstanceLock::defaultLockPath()
{
#ifdef _WIN32
    return {};
#else
    if (const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR"); runtimeDir && *runtimeDir)
        return std::filesystem::path(runtimeDir) / "kelvoedit.lock";
    return std::filesystem::path("/tmp") / ("kelvoedit-" + std::to_string(getuid()) + ".lock");
#endif
}

SingleInstanceLock::SingleInstanceLock(std::filesystem::path lockPath) : lockPath_(std::move(lockPath)) {}

SingleInstanceLock::~SingleInstanceLock()
{
#ifndef _WIN32
    if (fd_ >= 0)
        ::close(fd_);
#endif
}

bool SingleInstanceLock::tryAcquire()
{
#ifdef _WIN32
    return FindWindowW(L"TKelvoMainForm", nullptr) == nullptr;
#else
    if (fd_ >= 0)
        return true;
    // O_NOFOLLOW: in a shared /tmp another user could plant a link under this name.
    const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;  // No lock file possible: run rather than refuse to start.
    // A file another user placed under this name must not keep this user's program from
    // starting: it is no lock of ours.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid()) {
        ::close(fd);
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
#endif
}

}  // namespace app
