#include "kelvocad/objects/BlockReferenceObject.h"

#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/AttributeReferenceObject.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/MemberTable.h"

#include <array>

namespace kelvocad {

using automation::Variant;

namespace {

const std::array<Member<BlockReferenceObject>, 12>& members()
{
    using B = BlockReferenceObject;
    static const std::array<Member<B>, 12> table{{
        {u"EntityName", 0, 0,
         [](B& b, const MemberArgs&) -> Variant {
             b.reference();
             return Variant(u"AcDbBlockReference");
         }},
        {u"ObjectName", 0, 0,
         [](B& b, const MemberArgs&) -> Variant {
             b.reference();
             return Variant(u"AcDbBlockReference");
         }},
        {u"Name", 0, 0, [](B& b, const MemberArgs&) -> Variant { return Variant(b.reference().name); }},
        {u"Handle", 0, 0, [](B& b, const MemberArgs&) -> Variant { return Variant(b.reference().handle); }},
        {u"Layer", 0, 0, [](B& b, const MemberArgs&) -> Variant {
             return Variant(b.drawing().layerName(b.reference().layer));
         },
         [](B& b, const Variant& value) {
             const std::u16string layer = value.toString();
             const LayerRecord* record = b.drawing().findLayer(layer);
             if (!record)
                 throwInvalidArgument(u"No layer " + layer);
             requireUnlocked(b.drawing(), layer);
             b.modify([&](BlockReference& r) { r.layer = record->name; });
         }},
        // Moving the reference takes its attributes along.
        {u"InsertionPoint", 0, 0,
         [](B& b, const MemberArgs&) -> Variant { return MemberArgs::fromPoint(b.reference().insertionPoint); },
         [](B& b, const Variant& value) {
             const Point3 point = MemberArgs::toPoint(value);
             b.modify([&](BlockReference& r) {
                 const Point3 delta = point - r.insertionPoint;
                 r.insertionPoint = point;
                 for (auto& attribute : r.attributes) {
                     attribute.insertionPoint = attribute.insertionPoint + delta;
                     attribute.alignmentPoint = attribute.alignmentPoint + delta;
                 }
             });
         }},
        {u"HasAttributes", 0, 0,
         [](B& b, const MemberArgs&) -> Variant { return Variant(!b.reference().attributes.empty()); }},
        {u"GetAttributes", 0, 0, [](B& b, const MemberArgs&) -> Variant { return b.attributes(); }},
        {u"Update", 0, 0,
         [](B& b, const MemberArgs&) -> Variant {
             b.reference();
             b.session().notify(SessionEvent::EntityUpdated);
             return {};
         }},
        {u"Copy", 0, 0, [](B& b, const MemberArgs&) -> Variant { return b.copy(); }},
        {u"Delete", 0, 0,
         [](B& b, const MemberArgs&) -> Variant {
             b.erase();
             return {};
         }},
        {u"Application", 0, 0, [](B& b, const MemberArgs&) -> Variant { return b.session().application(); }},
    }};
    return table;
}

}  // namespace

BlockReferenceObject::BlockReferenceObject(std::shared_ptr<CadSession> session, std::u16string handle)
    : CadObject(std::move(session), u"BlockReference"), handle_(std::move(handle))
{
}

const BlockReference& BlockReferenceObject::reference() const
{
    const BlockReference* reference = drawing().findBlockReference(handle_);
    if (!reference)
        throwErased(handle_);
    return *reference;
}

void BlockReferenceObject::modify(const std::function<void(BlockReference&)>& change)
{
    requireUnlocked(drawing(), reference().layer);
    drawing().modifyBlockReference(handle_, change);
    session().notify(SessionEvent::DrawingChanged);
}

Variant BlockReferenceObject::attributes()
{
    std::vector<automation::ObjectRef> objects;
    for (const auto& attribute : reference().attributes)
        objects.push_back(std::make_shared<AttributeReferenceObject>(sessionPtr(), attribute.handle));
    return Variant::objectArray(std::move(objects));
}

automation::ObjectRef BlockReferenceObject::copy()
{
    requireUnlocked(drawing(), reference().layer);
    const std::u16string handle = drawing().copyEntity(handle_);
    session().notify(SessionEvent::DrawingChanged);
    return std::make_shared<BlockReferenceObject>(sessionPtr(), handle);
}

void BlockReferenceObject::erase()
{
    requireUnlocked(drawing(), reference().layer);
    drawing().erase(handle_);
    session().notify(SessionEvent::DrawingChanged);
}

Variant BlockReferenceObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                                       const Variant* value)
{
    return dispatchMember<BlockReferenceObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
