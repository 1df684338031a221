#pragma once

#include "kelvocad/objects/CadObject.h"

namespace kelvocad {

// The block table. Like a CAD's, it begins with the two layout blocks *Model_Space and
// *Paper_Space, then holds the named block definitions in the order they were made.
class BlocksObject : public CadObject {
public:
    explicit BlocksObject(std::shared_ptr<CadSession> session);

    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;

    // The definition at a position, or of a name; hr::BadIndex when there is none.
    automation::ObjectRef item(const automation::Variant& index);
    size_t count() const;
};

}  // namespace kelvocad
