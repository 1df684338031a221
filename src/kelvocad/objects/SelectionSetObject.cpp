#include "kelvocad/objects/SelectionSetObject.h"

#include "automation/AutomationError.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/model/SelectionFilter.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/MemberTable.h"
#include "kelvocad/objects/PickStrategy.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace kelvocad {

using automation::Variant;

namespace {

// The selection modes of Select; only "all" has a meaning without geometry to box in.
constexpr int selectAll = 5;

Variant filterArgument(const MemberArgs& args, size_t i)
{
    return i < args.size() ? args.at(i) : Variant::omitted();
}

const std::array<Member<SelectionSetObject>, 7>& members()
{
    using S = SelectionSetObject;
    static const std::array<Member<S>, 7> table{{
        {u"Name", 0, 0, [](S& s, const MemberArgs&) -> Variant { return Variant(s.data().name); }},
        {u"Count", 0, 0,
         [](S& s, const MemberArgs&) -> Variant { return Variant(static_cast<int32_t>(s.data().handles.size())); }},
        // An entity erased since it was selected fails here, as any use of it would.
        {u"Item", 1, 1,
         [](S& s, const MemberArgs& args) -> Variant {
             const auto& handles = s.data().handles;
             const int32_t i = args.integer(0);
             if (i < 0 || static_cast<size_t>(i) >= handles.size())
                 throw automation::AutomationError(automation::hr::BadIndex, u"Selection set index out of range");
             return s.session().entityObject(handles[static_cast<size_t>(i)]);
         }},
        {u"Clear", 0, 0,
         [](S& s, const MemberArgs&) -> Variant {
             s.data().handles.clear();
             return {};
         }},
        {u"Delete", 0, 0,
         [](S& s, const MemberArgs&) -> Variant {
             s.deleteSet();
             return {};
         }},
        {u"SelectOnScreen", 0, 2,
         [](S& s, const MemberArgs& args) -> Variant {
             s.selectOnScreen(filterArgument(args, 0), filterArgument(args, 1));
             return {};
         }},
        {u"Select", 1, 5,
         [](S& s, const MemberArgs& args) -> Variant {
             s.select(args.integer(0), filterArgument(args, 3), filterArgument(args, 4));
             return {};
         }},
    }};
    return table;
}

}  // namespace

SelectionSetObject::SelectionSetObject(std::shared_ptr<CadSession> session, std::shared_ptr<SelectionSetData> set)
    : CadObject(std::move(session), u"SelectionSet"), set_(std::move(set))
{
}

std::u16string SelectionSetObject::id() const
{
    return set_->name;
}

SelectionSetData& SelectionSetObject::data() const
{
    if (set_->deleted)
        throwCadError(u"The selection set was deleted: " + set_->name);
    return *set_;
}

void SelectionSetObject::addMatching(const std::vector<const ModelEntity*>& entities, const SelectionFilter& filter)
{
    auto& selected = data().handles;
    std::unordered_set<std::u16string> present(selected.begin(), selected.end());
    for (const ModelEntity* entity : entities) {
        if (!entity || !filter.matches(*entity))
            continue;
        if (present.insert(handleOf(*entity)).second)
            selected.push_back(handleOf(*entity));
    }
}

void SelectionSetObject::selectOnScreen(const Variant& types, const Variant& values)
{
    data();
    const SelectionFilter filter = SelectionFilter::fromVariants(types, values);
    // The window's strategy runs an event loop until the user ends the pick; anything may
    // change meanwhile, so everything is looked up again afterwards.
    const auto picker = session().pickerPtr();
    PickResult result = picker->pick(session().drawing(), filter);
    if (result.cancelled)
        throwCadError(u"The selection was cancelled");
    // Picking an attribute picks its block reference; a handle that names nothing (any
    // more) is not selectable.
    const Drawing& drawing = session().drawing();
    std::vector<const ModelEntity*> picked;
    for (const auto& handle : result.handles) {
        const ModelEntity* entity = drawing.findEntity(handle);
        if (!entity)
            if (const BlockReference* owner = drawing.ownerOfAttribute(handle))
                entity = drawing.findEntity(owner->handle);
        if (entity)
            picked.push_back(entity);
    }
    addMatching(picked, filter);
}

void SelectionSetObject::select(int mode, const Variant& types, const Variant& values)
{
    data();
    if (mode != selectAll)
        throwInvalidArgument(u"Only selection mode 5 (all) is supported");
    const SelectionFilter filter = SelectionFilter::fromVariants(types, values);
    std::vector<const ModelEntity*> all;
    for (const auto& entity : session().drawing().entities())
        all.push_back(&entity);
    addMatching(all, filter);
}

void SelectionSetObject::deleteSet()
{
    data();
    auto& sets = session().selectionSets();
    sets.erase(std::remove(sets.begin(), sets.end(), set_), sets.end());
    set_->deleted = true;
    set_->handles.clear();
}

Variant SelectionSetObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                                     const Variant* value)
{
    return dispatchMember<SelectionSetObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
