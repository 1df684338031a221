#pragma once

#include "kelvocad/objects/CadObject.h"

namespace kelvocad {

struct LayerRecord;

// One layer, found by name on each access.
class LayerObject : public CadObject {
public:
    LayerObject(std::shared_ptr<CadSession> session, std::u16string name);

    std::u16string id() const override { return name_; }
    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;

    const LayerRecord& layer() const;

private:
    std::u16string name_;
};

}  // namespace kelvocad
