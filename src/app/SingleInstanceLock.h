#pragma once

#include <filesystem>

namespace app {

// Tells whether KelvoEdit already runs for this user. On Windows the running instance owns a
// top-level window of class TKelvoMainForm (see InstanceMarkerWindow). Elsewhere it holds an
// exclusive lock on a file in the user's runtime folder; the system drops the lock when the
// process ends, however it ends.
class SingleInstanceLock {
public:
    // The lock file for this user ($XDG_RUNTIME_DIR, else a per-user name in /tmp).
    static std::filesystem::path defaultLockPath();

    explicit SingleInstanceLock(std::filesystem::path lockPath = defaultLockPath());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when no other instance runs; this one then holds the lock until destroyed.
    bool tryAcquire();

private:
    std::filesystem::path lockPath_;
    int fd_ = -1;
};

}  // namespace app
