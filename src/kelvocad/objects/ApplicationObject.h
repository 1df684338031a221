#pragma once

#include "kelvocad/objects/CadObject.h"

namespace kelvocad {

// The Application: the running object a client attaches to.
class ApplicationObject : public CadObject {
public:
    explicit ApplicationObject(std::shared_ptr<CadSession> session);

    automation::ObjectRef document();

    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;
};

}  // namespace kelvocad
