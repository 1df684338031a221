#pragma once

#include "kelvocad/objects/CadObject.h"

namespace kelvocad {

// The active document: the drawing, its collections, its undo marks and its view.
class DocumentObject : public CadObject {
public:
    explicit DocumentObject(std::shared_ptr<CadSession> session);

    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;
};

}  // namespace kelvocad
