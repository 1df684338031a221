#pragma once

#include "automation/Object.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace automation::socket {

class ServerConnection;

// A window-service request's handler: the arguments in, a value out, an AutomationError
// for a failure.
using ServiceHandler = std::function<Variant(std::span<const Variant>)>;

// What the server and its connections share. Lives as long as the last connection that
// is still finishing a call, which may outlast the server itself.
struct ServerState {
    ObjectRef root;
    std::function<bool()> isBusy;
    std::function<void()> busyObserver;
    std::vector<std::pair<std::u16string, ServiceHandler>> services;
    std::vector<std::shared_ptr<ServerConnection>> connections;
    int callDepth = 0;  // Automation calls executing now (more than one only via nested loops)
    std::atomic<int64_t> exportedObjects{0};
    std::atomic<int64_t> memberAccesses{0};
    std::atomic<int64_t> busyReplies{0};
};

}  // namespace automation::socket
