#include "kelvocad/objects/BlockObject.h"

#include "automation/AutomationError.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/AttributeDefinitionObject.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/MemberTable.h"

#include <array>

namespace kelvocad {

using automation::Variant;

namespace {

const std::array<Member<BlockObject>, 4>& members()
{
    using B = BlockObject;
    static const std::array<Member<B>, 4> table{{
        {u"Name", 0, 0, [](B& b, const MemberArgs&) -> Variant { return Variant(b.name()); }},
        {u"Count", 0, 0, [](B& b, const MemberArgs&) -> Variant { return Variant(static_cast<int32_t>(b.count())); }},
        {u"Item", 1, 1, [](B& b, const MemberArgs& args) -> Variant { return b.item(args.integer(0)); }},
        {u"IsLayout", 0, 0,
         [](B& b, const MemberArgs&) -> Variant { return Variant(!b.name().empty() && b.name()[0] == u'*'); }},
    }};
    return table;
}

}  // namespace

BlockObject::BlockObject(std::shared_ptr<CadSession> session, std::u16string name)
    : CadObject(std::move(session), u"Block"), name_(std::move(name))
{
}

bool BlockObject::isModelSpace() const
{
    return automation::memberNameEquals(name_, modelSpaceName);
}

bool BlockObject::isPaperSpace() const
{
    return automation::memberNameEquals(name_, paperSpaceName);
}

const BlockDefinition& BlockObject::definition() const
{
    const BlockDefinition* block = drawing().findBlock(name_);
    if (!block)
        throwCadError(u"The block definition no longer exists: " + name_);
    return *block;
}

size_t BlockObject::count() const
{
    if (isModelSpace())
        return drawing().entities().size();
    if (isPaperSpace())
        return 0;
    return definition().attributes.size();
}

automation::ObjectRef BlockObject::item(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= count())
        throw automation::AutomationError(automation::hr::BadIndex, u"Block item index out of range");
    const auto i = static_cast<size_t>(index);
    if (isModelSpace())
        return session().entityObject(handleOf(drawing().entities()[i]));
    const BlockDefinition& block = definition();
    return std::make_shared<AttributeDefinitionObject>(sessionPtr(), block.name, block.attributes[i].handle);
}

Variant BlockObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                              const Variant* value)
{
    return dispatchMember<BlockObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
