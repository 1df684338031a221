#include "kelvocad/objects/LayerObject.h"

#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/MemberTable.h"

#include <array>

namespace kelvocad {

using automation::Variant;

namespace {

const std::array<Member<LayerObject>, 2>& members()
{
    using L = LayerObject;
    static const std::array<Member<L>, 2> table{{
        {u"Name", 0, 0, [](L& l, const MemberArgs&) -> Variant { return Variant(l.layer().name); }},
        {u"Lock", 0, 0, [](L& l, const MemberArgs&) -> Variant { return Variant(l.layer().locked); },
         [](L& l, const Variant& value) {
             const bool locked = value.toBool();
             l.drawing().setLayerLocked(l.layer().name, locked);
             l.session().notify(SessionEvent::DrawingChanged);
         }},
    }};
    return table;
}

}  // namespace

LayerObject::LayerObject(std::shared_ptr<CadSession> session, std::u16string name)
    : CadObject(std::move(session), u"Layer"), name_(std::move(name))
{
}

const LayerRecord& LayerObject::layer() const
{
    const LayerRecord* layer = drawing().findLayer(name_);
    if (!layer)
        throwCadError(u"The layer no longer exists: " + name_);
    return *layer;
}

Variant LayerObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                              const Variant* value)
{
    return dispatchMember<LayerObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
