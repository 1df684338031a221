#pragma once

#include "kelvocad/objects/CadObject.h"

namespace kelvocad {

struct AttributeDefinition;

// An attribute definition of a block definition.
class AttributeDefinitionObject : public CadObject {
public:
    AttributeDefinitionObject(std::shared_ptr<CadSession> session, std::u16string blockName, std::u16string handle);

    std::u16string id() const override { return handle_; }
    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;

    const AttributeDefinition& definition() const;

private:
    std::u16string blockName_;
    std::u16string handle_;
};

}  // namespace kelvocad
