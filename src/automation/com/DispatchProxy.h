#pragma once

#include "automation/Object.h"

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <string>

namespace automation::com {

class DispIdCache;

// A late-bound object reached through IDispatch. Each member name is looked up once
// (GetIDsOfNames) and its DISPID kept, per object and, when the server describes its types,
// per type, so a repeated member costs one Invoke. Dropping the proxy releases the object.
class DispatchProxy final : public Object {
public:
    explicit DispatchProxy(Microsoft::WRL::ComPtr<IDispatch> dispatch);

    Variant get(std::u16string_view member, std::span<const Variant> args = {}) override;
    void put(std::u16string_view member, const Variant& value, std::span<const Variant> args = {}) override;
    Variant call(std::u16string_view member, std::span<const Variant> args = {}) override;
    using Object::call;
    using Object::get;

    IDispatch* dispatch() const noexcept { return dispatch_.Get(); }

private:
    DISPID dispIdOf(std::u16string_view member);
    Variant invoke(std::u16string_view member, WORD flags, std::span<const Variant> args, const Variant* value);

    Microsoft::WRL::ComPtr<IDispatch> dispatch_;
    std::map<std::u16string, DISPID> dispIds_;  // by lower-case name
    std::u16string typeKey_;
    bool typeKeyKnown_ = false;
};

}  // namespace automation::com
