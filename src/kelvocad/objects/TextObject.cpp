#include "kelvocad/objects/TextObject.h"

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

const std::array<Member<TextObject>, 15>& members()
{
    using T = TextObject;
    static const std::array<Member<T>, 15> table{{
        {u"EntityName", 0, 0, [](T& t, const MemberArgs&) -> Variant {
             t.text();
             return Variant(u"AcDbText");
         }},
        {u"ObjectName", 0, 0, [](T& t, const MemberArgs&) -> Variant {
             t.text();
             return Variant(u"AcDbText");
         }},
        {u"Handle", 0, 0, [](T& t, const MemberArgs&) -> Variant { return Variant(t.text().handle); }},
        {u"Layer", 0, 0, [](T& t, const MemberArgs&) -> Variant { return Variant(t.drawing().layerName(t.text().layer)); },
         [](T& t, const Variant& value) {
             const std::u16string layer = value.toString();
             const LayerRecord* record = t.drawing().findLayer(layer);
             if (!record)
                 throwInvalidArgument(u"No layer " + layer);
             requireUnlocked(t.drawing(), layer);
             t.modify([&](TextEntity& e) { e.layer = record->name; });
         }},
        {u"TextString", 0, 0, [](T& t, const MemberArgs&) -> Variant { return Variant(t.text().string); },
         [](T& t, const Variant& value) {
             const std::u16string string = value.toString();
             t.modify([&](TextEntity& e) { e.string = string; });
         }},
        {u"InsertionPoint", 0, 0,
         [](T& t, const MemberArgs&) -> Variant { return MemberArgs::fromPoint(t.text().insertionPoint); },
         [](T& t, const Variant& value) {
             const Point3 point = MemberArgs::toPoint(value);
             t.modify([&](TextEntity& e) { placeByInsertionPoint(e, point); });
         }},
        {u"TextAlignmentPoint", 0, 0,
         [](T& t, const MemberArgs&) -> Variant { return MemberArgs::fromPoint(t.text().alignmentPoint); },
         [](T& t, const Variant& value) {
             const Point3 point = MemberArgs::toPoint(value);
             t.modify([&](TextEntity& e) { placeByAlignmentPoint(e, point); });
         }},
        {u"Alignment", 0, 0,
         [](T& t, const MemberArgs&) -> Variant { return Variant(static_cast<int32_t>(t.text().alignment)); },
         [](T& t, const Variant& value) {
             const int alignment = value.toInt();
             if (!isValidAlignment(alignment))
                 throwInvalidArgument(u"Alignment out of range");
             t.modify([&](TextEntity& e) { changeAlignment(e, alignment); });
         }},
        {u"Height", 0, 0, [](T& t, const MemberArgs&) -> Variant { return Variant(t.text().height); },
         [](T& t, const Variant& value) {
             const double height = value.toDouble();
             if (!(height > 0.0) || !std::isfinite(height))
                 throwInvalidArgument(u"The text height must be positive");
             t.modify([&](TextEntity& e) { e.height = height; });
         }},
        {u"Rotation", 0, 0, [](T& t, const MemberArgs&) -> Variant { return Variant(t.text().rotation); },
         [](T& t, const Variant& value) {
             const double rotation = value.toDouble();
             t.modify([&](TextEntity& e) { e.rotation = rotation; });
         }},
        {u"StyleName", 0, 0, [](T& t, const MemberArgs&) -> Variant { return Variant(t.text().style); },
         [](T& t, const Variant& value) {
             const std::u16string style = value.toString();
             t.modify([&](TextEntity& e) { e.style = style; });
         }},
        {u"Update", 0, 0,
         [](T& t, const MemberArgs&) -> Variant {
             t.text();
             t.session().notify(SessionEvent::EntityUpdated);
             return {};
         }},
        {u"Copy", 0, 0, [](T& t, const MemberArgs&) -> Variant { return t.copy(); }},
        {u"Delete", 0, 0,
         [](T& t, const MemberArgs&) -> Variant {
             t.erase();
             return {};
         }},
        {u"Application", 0, 0, [](T& t, const MemberArgs&) -> Variant { return t.session().application(); }},
    }};
    return table;
}

}  // namespace

TextObject::TextObject(std::shared_ptr<CadSession> session, std::u16string handle)
    : CadObject(std::move(session), u"Text"), handle_(std::move(handle))
{
}

const TextEntity& TextObject::text() const
{
    const TextEntity* text = drawing().findText(handle_);
    if (!text)
        throwErased(handle_);
    return *text;
}

void TextObject::modify(const std::function<void(TextEntity&)>& change)
{
    requireUnlocked(drawing(), text().layer);
    drawing().modifyText(handle_, change);
    session().notify(SessionEvent::DrawingChanged);
}

automation::ObjectRef TextObject::copy()
{
    requireUnlocked(drawing(), text().layer);
    const std::u16string handle = drawing().copyEntity(handle_);
    session().notify(SessionEvent::DrawingChanged);
    return std::make_shared<TextObject>(sessionPtr(), handle);
}

void TextObject::erase()
{
    requireUnlocked(drawing(), text().layer);
    drawing().erase(handle_);
    session().notify(SessionEvent::DrawingChanged);
}

Variant TextObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                             const Variant* value)
{
    return dispatchMember<TextObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
