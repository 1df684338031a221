#include "kelvocad/objects/BlocksObject.h"

#include "automation/AutomationError.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/BlockObject.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/MemberTable.h"

#include <array>

namespace kelvocad {

using automation::Variant;

namespace {

constexpr size_t layoutBlocks = 2;

const std::array<Member<BlocksObject>, 2>& members()
{
    using B = BlocksObject;
    static const std::array<Member<B>, 2> table{{
        {u"Count", 0, 0, [](B& b, const MemberArgs&) -> Variant { return Variant(static_cast<int32_t>(b.count())); }},
        {u"Item", 1, 1, [](B& b, const MemberArgs& args) -> Variant { return b.item(args.at(0)); }},
    }};
    return table;
}

}  // namespace

BlocksObject::BlocksObject(std::shared_ptr<CadSession> session) : CadObject(std::move(session), u"Blocks")
{
}

size_t BlocksObject::count() const
{
    return drawing().blocks().size() + layoutBlocks;
}

automation::ObjectRef BlocksObject::item(const Variant& index)
{
    const auto& blocks = drawing().blocks();
    if (index.type() == automation::VariantType::String) {
        const std::u16string& name = index.stringValue();
        for (std::u16string_view layout : {BlockObject::modelSpaceName, BlockObject::paperSpaceName})
            if (automation::memberNameEquals(layout, name))
                return std::make_shared<BlockObject>(sessionPtr(), std::u16string(layout));
        if (const BlockDefinition* block = drawing().findBlock(name))
            return std::make_shared<BlockObject>(sessionPtr(), block->name);
        throw automation::AutomationError(automation::hr::BadIndex, u"No block definition " + name);
    }
    const int32_t i = index.toInt();
    if (i < 0 || static_cast<size_t>(i) >= count())
        throw automation::AutomationError(automation::hr::BadIndex, u"Block index out of range");
    if (i == 0)
        return std::make_shared<BlockObject>(sessionPtr(), std::u16string(BlockObject::modelSpaceName));
    if (i == 1)
        return std::make_shared<BlockObject>(sessionPtr(), std::u16string(BlockObject::paperSpaceName));
    return std::make_shared<BlockObject>(sessionPtr(), blocks[static_cast<size_t>(i) - layoutBlocks].name);
}

Variant BlocksObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                               const Variant* value)
{
    return dispatchMember<BlocksObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
