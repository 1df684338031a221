#include "kelvocad/objects/SelectionSetsObject.h"

#include "automation/AutomationError.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/MemberTable.h"
#include "kelvocad/objects/SelectionSetObject.h"

#include <array>

namespace kelvocad {

using automation::Variant;

namespace {

automation::ObjectRef item(SelectionSetsObject& self, const Variant& index)
{
    auto& sets = self.session().selectionSets();
    if (index.type() == automation::VariantType::String) {
        for (auto& set : sets)
            if (automation::memberNameEquals(set->name, index.stringValue()))
                return std::make_shared<SelectionSetObject>(self.sessionPtr(), set);
        throw automation::AutomationError(automation::hr::BadIndex, u"No selection set " + index.stringValue());
    }
    const int32_t i = index.toInt();
    if (i < 0 || static_cast<size_t>(i) >= sets.size())
        throw automation::AutomationError(automation::hr::BadIndex, u"Selection set index out of range");
    return std::make_shared<SelectionSetObject>(self.sessionPtr(), sets[static_cast<size_t>(i)]);
}

const std::array<Member<SelectionSetsObject>, 3>& members()
{
    using S = SelectionSetsObject;
    static const std::array<Member<S>, 3> table{{
        {u"Count", 0, 0,
         [](S& s, const MemberArgs&) -> Variant {
             return Variant(static_cast<int32_t>(s.session().selectionSets().size()));
         }},
        {u"Item", 1, 1, [](S& s, const MemberArgs& args) -> Variant { return item(s, args.at(0)); }},
        // A second set of the same name is refused, as in a CAD; letter case does not count.
        {u"Add", 1, 1,
         [](S& s, const MemberArgs& args) -> Variant {
             std::u16string name = args.string(0);
             if (name.empty())
                 throwInvalidArgument(u"A selection set needs a name");
             auto& sets = s.session().selectionSets();
             for (auto& set : sets)
                 if (automation::memberNameEquals(set->name, name))
                     throwCadError(u"Duplicate selection set name: " + name);
             auto set = std::make_shared<SelectionSetData>();
             set->name = std::move(name);
             sets.push_back(set);
             return std::make_shared<SelectionSetObject>(s.sessionPtr(), set);
         }},
    }};
    return table;
}

}  // namespace

SelectionSetsObject::SelectionSetsObject(std::shared_ptr<CadSession> session)
    : CadObject(std::move(session), u"SelectionSets")
{
}

Variant SelectionSetsObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                                      const Variant* value)
{
    return dispatchMember<SelectionSetsObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
