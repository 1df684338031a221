#pragma once

#include "kelvocad/objects/CadObject.h"

#include <functional>

namespace kelvocad {

struct BlockReference;

// A block reference (INSERT) of model space, found by handle on each access.
class BlockReferenceObject : public CadObject {
public:
    BlockReferenceObject(std::shared_ptr<CadSession> session, std::u16string handle);

    std::u16string id() const override { return handle_; }
    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;

    const BlockReference& reference() const;
    void modify(const std::function<void(BlockReference&)>& change);
    // The attribute references as an array of objects, in the order of the block's definitions.
    automation::Variant attributes();
    automation::ObjectRef copy();
    void erase();

private:
    std::u16string handle_;
};

}  // namespace kelvocad
