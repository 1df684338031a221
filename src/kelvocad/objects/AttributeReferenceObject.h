#pragma once

#include "kelvocad/objects/CadObject.h"

#include <functional>

namespace kelvocad {

struct AttributeReference;

// An attribute reference of a block reference, found by its own handle on each access.
class AttributeReferenceObject : public CadObject {
public:
    AttributeReferenceObject(std::shared_ptr<CadSession> session, std::u16string handle);

    std::u16string id() const override { return handle_; }
    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;

    const AttributeReference& attribute() const;
    // Refused when the attribute or its block reference lies on a locked layer.
    void modify(const std::function<void(AttributeReference&)>& change);

private:
    std::u16string handle_;
};

}  // namespace kelvocad
