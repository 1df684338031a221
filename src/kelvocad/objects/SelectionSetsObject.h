#pragma once

#include "kelvocad/objects/CadObject.h"

namespace kelvocad {

// The document's selection sets.
class SelectionSetsObject : public CadObject {
public:
    explicit SelectionSetsObject(std::shared_ptr<CadSession> session);

    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;
};

}  // namespace kelvocad
