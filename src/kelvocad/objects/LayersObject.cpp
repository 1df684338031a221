#include "kelvocad/objects/LayersObject.h"

#include "automation/AutomationError.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/LayerObject.h"
#include "kelvocad/objects/MemberTable.h"

#include <array>

namespace kelvocad {

using automation::Variant;

namespace {

const std::array<Member<LayersObject>, 3>& members()
{
    using L = LayersObject;
    static const std::array<Member<L>, 3> table{{
        {u"Count", 0, 0,
         [](L& l, const MemberArgs&) -> Variant {
             return Variant(static_cast<int32_t>(l.drawing().layers().size()));
         }},
        // By position, or by name.
        {u"Item", 1, 1,
         [](L& l, const MemberArgs& args) -> Variant {
             const auto& layers = l.drawing().layers();
             if (args.at(0).type() == automation::VariantType::String) {
                 const LayerRecord* layer = l.drawing().findLayer(args.at(0).stringValue());
                 if (!layer)
                     throw automation::AutomationError(automation::hr::BadIndex,
                                                       u"No layer " + args.at(0).stringValue());
                 return std::make_shared<LayerObject>(l.sessionPtr(), layer->name);
             }
             const int32_t i = args.integer(0);
             if (i < 0 || static_cast<size_t>(i) >= layers.size())
                 throw automation::AutomationError(automation::hr::BadIndex, u"Layer index out of range");
             return std::make_shared<LayerObject>(l.sessionPtr(), layers[static_cast<size_t>(i)].name);
         }},
        {u"Add", 1, 1,
         [](L& l, const MemberArgs& args) -> Variant {
             const std::u16string name = args.string(0);
             if (name.empty())
                 throwInvalidArgument(u"A layer needs a name");
             return std::make_shared<LayerObject>(l.sessionPtr(), l.drawing().addLayer(name).name);
         }},
    }};
    return table;
}

}  // namespace

LayersObject::LayersObject(std::shared_ptr<CadSession> session) : CadObject(std::move(session), u"Layers")
{
}

Variant LayersObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                               const Variant* value)
{
    return dispatchMember<LayersObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
