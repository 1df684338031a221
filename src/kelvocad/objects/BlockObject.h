#pragma once

#include "kelvocad/objects/CadObject.h"

#include <string_view>

namespace kelvocad {

struct BlockDefinition;

// A block definition, found by name on each access. Its items are its attribute
// definitions; the items of *Model_Space are the model-space entities.
class BlockObject : public CadObject {
public:
    static constexpr std::u16string_view modelSpaceName = u"*Model_Space";
    static constexpr std::u16string_view paperSpaceName = u"*Paper_Space";

    BlockObject(std::shared_ptr<CadSession> session, std::u16string name);

    std::u16string id() const override { return name_; }
    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;

    const std::u16string& name() const noexcept { return name_; }
    size_t count() const;
    automation::ObjectRef item(int32_t index);

private:
    bool isModelSpace() const;
    bool isPaperSpace() const;
    const BlockDefinition& definition() const;

    std::u16string name_;
};

}  // namespace kelvocad
