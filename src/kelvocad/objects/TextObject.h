#pragma once

#include "kelvocad/objects/CadObject.h"

#include <functional>

namespace kelvocad {

struct TextEntity;

// A TEXT entity of model space, found by handle on each access.
class TextObject : public CadObject {
public:
    TextObject(std::shared_ptr<CadSession> session, std::u16string handle);

    std::u16string id() const override { return handle_; }
    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;

    // The entity; throws when it was erased.
    const TextEntity& text() const;
    // Changes the entity, refused on a locked layer.
    void modify(const std::function<void(TextEntity&)>& change);
    automation::ObjectRef copy();
    void erase();

private:
    std::u16string handle_;
};

}  // namespace kelvocad
