#include "automation/socket/SocketProxy.h"

#include "automation/socket/SocketClient.h"

namespace automation::socket {

SocketProxy::SocketProxy(std::shared_ptr<SocketClient> client, int64_t id) : client_(std::move(client)), id_(id) {}

SocketProxy::~SocketProxy()
{
    client_->releaseProxy(id_);
}

Variant SocketProxy::get(std::u16string_view member, std::span<const Variant> args)
{
    return client_->invoke(id_, InvokeKind::Get, member, args);
}

void SocketProxy::put(std::u16string_view member, const Variant& value, std::span<const Variant> args)
{
    client_->invoke(id_, InvokeKind::Put, member, args, value);
}

Variant SocketProxy::call(std::u16string_view member, std::span<const Variant> args)
{
    return client_->invoke(id_, InvokeKind::Call, member, args);
}

}  // namespace automation::socket
