#pragma once

#include "automation/RunningObjects.h"
#include "automation/socket/RunningObjectDirectory.h"

#include <chrono>

namespace automation::socket {

// The running object table over local sockets: a ProgID is running when a server answers
// at its socket in the per-user directory. Each activeObject is a connection of its own,
// closed when the last object obtained through it is dropped.
class SocketRunningObjects : public RunningObjects {
public:
    explicit SocketRunningObjects(RunningObjectDirectory directory = RunningObjectDirectory::userDefault(),
                                  std::chrono::milliseconds retryInterval = std::chrono::milliseconds(1000));

    bool isRunning(std::u16string_view progId) override;
    ObjectRef activeObject(std::u16string_view progId) override;

    const RunningObjectDirectory& directory() const { return directory_; }

private:
    void requireRegistered(std::u16string_view progId) const;

    RunningObjectDirectory directory_;
    std::chrono::milliseconds retryInterval_;
};

}  // namespace automation::socket
