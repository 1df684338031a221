#pragma once

#include "automation/Object.h"

#include <cstdint>
#include <memory>

namespace automation::socket {

class SocketClient;

// An object that lives in a server process. Each member access is one round trip; the
// destructor tells the server that this client holds the object no longer.
class SocketProxy : public Object {
public:
    SocketProxy(std::shared_ptr<SocketClient> client, int64_t id);
    ~SocketProxy() override;

    using Object::call;
    using Object::get;
    Variant get(std::u16string_view member, std::span<const Variant> args = {}) override;
    void put(std::u16string_view member, const Variant& value, std::span<const Variant> args = {}) override;
    Variant call(std::u16string_view member, std::span<const Variant> args = {}) override;

    int64_t id() const { return id_; }
    // The connection this object came through, which also carries the window services.
    const std::shared_ptr<SocketClient>& client() const { return client_; }

private:
    std::shared_ptr<SocketClient> client_;
    int64_t id_;
};

}  // namespace automation::socket
