#pragma once

#include "automation/RunningObjects.h"
#include "automation/socket/SocketClient.h"

#include <memory>
#include <string_view>

namespace sockettest {

// The running object table of a client attached to one server: whatever is asked for,
// the server's root object is running.
class ClientRunningObjects : public automation::RunningObjects {
public:
    explicit ClientRunningObjects(std::shared_ptr<automation::socket::SocketClient> client)
        : client_(std::move(client))
    {
    }
    bool isRunning(std::u16string_view) override { return true; }
    automation::ObjectRef activeObject(std::u16string_view) override { return client_->rootObject(); }

private:
    std::shared_ptr<automation::socket::SocketClient> client_;
};

}  // namespace sockettest
