#include "kelvocad/objects/AttributeReferenceObject.h"

#include "kelvocad/model/Drawing.h"
#include "kelvocad/model/TextPlacement.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/MemberTable.h"

#include <array>
#include <cmath>

namespace kelvocad {

using automation::Variant;

namespace {

const std::array<Member<AttributeReferenceObject>, 14>& members()
{
    using A = AttributeReferenceObject;
    static const std::array<Member<A>, 14> table{{
        {u"EntityName", 0, 0,
         [](A& a, const MemberArgs&) -> Variant {
             a.attribute();
             return Variant(u"AcDbAttribute");
         }},
        {u"ObjectName", 0, 0,
         [](A& a, const MemberArgs&) -> Variant {
             a.attribute();
             return Variant(u"AcDbAttribute");
         }},
        {u"Handle", 0, 0, [](A& a, const MemberArgs&) -> Variant { return Variant(a.attribute().handle); }},
        {u"TagString", 0, 0, [](A& a, const MemberArgs&) -> Variant { return Variant(a.attribute().tag); },
         [](A& a, const Variant& value) {
             const std::u16string tag = value.toString();
             if (tag.empty() || tag.find(u' ') != std::u16string::npos)
                 throwInvalidArgument(u"A tag is not empty and has no spaces");
             a.modify([&](AttributeReference& r) { r.tag = tag; });
         }},
        {u"TextString", 0, 0, [](A& a, const MemberArgs&) -> Variant { return Variant(a.attribute().string); },
         [](A& a, const Variant& value) {
             const std::u16string string = value.toString();
             a.modify([&](AttributeReference& r) { r.string = string; });
         }},
        {u"Layer", 0, 0, [](A& a, const MemberArgs&) -> Variant {
             return Variant(a.drawing().layerName(a.attribute().layer));
         }},
        {u"InsertionPoint", 0, 0,
         [](A& a, const MemberArgs&) -> Variant { return MemberArgs::fromPoint(a.attribute().insertionPoint); },
         [](A& a, const Variant& value) {
             const Point3 point = MemberArgs::toPoint(value);
             a.modify([&](AttributeReference& r) { placeByInsertionPoint(r, point); });
         }},
        {u"TextAlignmentPoint", 0, 0,
         [](A& a, const MemberArgs&) -> Variant { return MemberArgs::fromPoint(a.attribute().alignmentPoint); },
         [](A& a, const Variant& value) {
             const Point3 point = MemberArgs::toPoint(value);
             a.modify([&](AttributeReference& r) { placeByAlignmentPoint(r, point); });
         }},
        {u"Alignment", 0, 0,
         [](A& a, const MemberArgs&) -> Variant { return Variant(static_cast<int32_t>(a.attribute().alignment)); },
         [](A& a, const Variant& value) {
             const int alignment = value.toInt();
             if (!isValidAlignment(alignment))
                 throwInvalidArgument(u"Alignment out of range");
             a.modify([&](AttributeReference& r) { changeAlignment(r, alignment); });
         }},
        {u"Height", 0, 0, [](A& a, const MemberArgs&) -> Variant { return Variant(a.attribute().height); }},
        {u"Update", 0, 0,
         [](A& a, const MemberArgs&) -> Variant {
             a.attribute();
             a.session().notify(SessionEvent::EntityUpdated);
             return {};
         }},
        // An attribute goes with its block reference; it cannot be erased on its own.
        {u"Delete", 0, 0,
         [](A& a, const MemberArgs&) -> Variant {
             a.attribute();
             throwCadError(u"An attribute reference cannot be erased on its own");
         }},
        {u"OwnerHandle", 0, 0,
         [](A& a, const MemberArgs&) -> Variant {
             a.attribute();
             return Variant(a.drawing().ownerOfAttribute(a.id())->handle);
         }},
        {u"Application", 0, 0, [](A& a, const MemberArgs&) -> Variant { return a.session().application(); }},
    }};
    return table;
}

}  // namespace

AttributeReferenceObject::AttributeReferenceObject(std::shared_ptr<CadSession> session, std::u16string handle)
    : CadObject(std::move(session), u"AttributeReference"), handle_(std::move(handle))
{
}

const AttributeReference& AttributeReferenceObject::attribute() const
{
    const AttributeReference* attribute = drawing().findAttribute(handle_);
    if (!attribute)
        throwErased(handle_);
    return *attribute;
}

void AttributeReferenceObject::modify(const std::function<void(AttributeReference&)>& change)
{
    requireUnlocked(drawing(), attribute().layer);
    requireUnlocked(drawing(), drawing().ownerOfAttribute(handle_)->layer);
    drawing().modifyAttribute(handle_, change);
    session().notify(SessionEvent::DrawingChanged);
}

Variant AttributeReferenceObject::dispatch(MemberAccess access, std::u16string_view member,
                                           std::span<const Variant> args, const Variant* value)
{
    return dispatchMember<AttributeReferenceObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
