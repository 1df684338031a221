#include "kelvocad/objects/AttributeDefinitionObject.h"

#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/MemberTable.h"

#include <array>

namespace kelvocad {

using automation::Variant;

namespace {

const std::array<Member<AttributeDefinitionObject>, 8>& members()
{
    using A = AttributeDefinitionObject;
    static const std::array<Member<A>, 8> table{{
        {u"EntityName", 0, 0, [](A&, const MemberArgs&) -> Variant { return Variant(u"AcDbAttributeDefinition"); }},
        {u"ObjectName", 0, 0, [](A&, const MemberArgs&) -> Variant { return Variant(u"AcDbAttributeDefinition"); }},
        {u"Handle", 0, 0, [](A& a, const MemberArgs&) -> Variant { return Variant(a.definition().handle); }},
        {u"TagString", 0, 0, [](A& a, const MemberArgs&) -> Variant { return Variant(a.definition().tag); }},
        {u"PromptString", 0, 0, [](A& a, const MemberArgs&) -> Variant { return Variant(a.definition().prompt); }},
        {u"TextString", 0, 0,
         [](A& a, const MemberArgs&) -> Variant { return Variant(a.definition().defaultValue); }},
        {u"InsertionPoint", 0, 0,
         [](A& a, const MemberArgs&) -> Variant { return MemberArgs::fromPoint(a.definition().insertionPoint); }},
        {u"Alignment", 0, 0,
         [](A& a, const MemberArgs&) -> Variant { return Variant(static_cast<int32_t>(a.definition().alignment)); }},
    }};
    return table;
}

}  // namespace

AttributeDefinitionObject::AttributeDefinitionObject(std::shared_ptr<CadSession> session, std::u16string blockName,
                                                     std::u16string handle)
    : CadObject(std::move(session), u"AttributeDefinition"), blockName_(std::move(blockName)), handle_(std::move(handle))
{
}

const AttributeDefinition& AttributeDefinitionObject::definition() const
{
    if (const BlockDefinition* block = drawing().findBlock(blockName_))
        for (const auto& definition : block->attributes)
            if (definition.handle == handle_)
                return definition;
    throwErased(handle_);
}

Variant AttributeDefinitionObject::dispatch(MemberAccess access, std::u16string_view member,
                                            std::span<const Variant> args, const Variant* value)
{
    return dispatchMember<AttributeDefinitionObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
