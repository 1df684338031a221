#include "kelvocad/objects/DocumentObject.h"

#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/ApplicationObject.h"
#include "kelvocad/objects/BlockObject.h"
#include "kelvocad/objects/BlocksObject.h"
#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/LayersObject.h"
#include "kelvocad/objects/MemberTable.h"
#include "kelvocad/objects/SelectionSetsObject.h"

#include <array>

namespace kelvocad {

using automation::Variant;

namespace {

Variant systemVariable(CadSession& session, std::u16string_view name)
{
    const ViewState& view = session.view();
    if (automation::memberNameEquals(name, u"VIEWSIZE"))
        return Variant(view.height);
    if (automation::memberNameEquals(name, u"SCREENSIZE"))
        return Variant::doubleArray({static_cast<double>(view.screenWidth), static_cast<double>(view.screenHeight)});
    if (automation::memberNameEquals(name, u"VIEWCTR"))
        return MemberArgs::fromPoint(view.center);
    if (automation::memberNameEquals(name, u"CLAYER"))
        return Variant(u"0");
    if (automation::memberNameEquals(name, u"UNDOCTL"))
        return Variant(static_cast<int16_t>(session.drawing().journal().markDepth() > 0 ? 13 : 5));
    throwInvalidArgument(u"Unknown system variable " + std::u16string(name));
}

const std::array<Member<DocumentObject>, 13>& members()
{
    using D = DocumentObject;
    static const std::array<Member<D>, 13> table{{
        {u"Application", 0, 0,
         [](D& d, const MemberArgs&) -> Variant { return d.session().application(); }},
        {u"Name", 0, 0, [](D& d, const MemberArgs&) -> Variant { return Variant(d.session().documentName); }},
        {u"HWND", 0, 0, [](D& d, const MemberArgs&) -> Variant { return Variant(d.session().documentWindow); }},
        {u"SelectionSets", 0, 0,
         [](D& d, const MemberArgs&) -> Variant { return std::make_shared<SelectionSetsObject>(d.sessionPtr()); }},
        {u"Layers", 0, 0,
         [](D& d, const MemberArgs&) -> Variant { return std::make_shared<LayersObject>(d.sessionPtr()); }},
        // Blocks(i) is the i-th block definition, as if Item(i) had been called on Blocks.
        {u"Blocks", 0, 1,
         [](D& d, const MemberArgs& args) -> Variant {
             auto blocks = std::make_shared<BlocksObject>(d.sessionPtr());
             if (!args.has(0))
                 return blocks;
             return blocks->item(args.at(0));
         }},
        {u"ModelSpace", 0, 0,
         [](D& d, const MemberArgs&) -> Variant {
             return std::make_shared<BlockObject>(d.sessionPtr(), std::u16string(BlockObject::modelSpaceName));
         }},
        {u"HandleToObject", 1, 1,
         [](D& d, const MemberArgs& args) -> Variant { return d.session().entityObject(args.string(0)); }},
        {u"GetVariable", 1, 1,
         [](D& d, const MemberArgs& args) -> Variant { return systemVariable(d.session(), args.string(0)); }},
        {u"StartUndoMark", 0, 0,
         [](D& d, const MemberArgs&) -> Variant {
             d.drawing().startUndoMark();
             return {};
         }},
        {u"EndUndoMark", 0, 0,
         [](D& d, const MemberArgs&) -> Variant {
             d.drawing().endUndoMark();
             return {};
         }},
        // 0 regenerates the active viewport, 1 all of them; with one view they are the same.
        {u"Regen", 1, 1,
         [](D& d, const MemberArgs& args) -> Variant {
             const int which = args.integer(0);
             if (which != 0 && which != 1)
                 throwInvalidArgument(u"Regen takes 0 (active viewport) or 1 (all viewports)");
             d.session().notify(SessionEvent::Regen);
             return {};
         }},
        {u"Undo", 0, 0,
         [](D& d, const MemberArgs&) -> Variant { return Variant(d.session().undoLastStep()); }},
    }};
    return table;
}

}  // namespace

DocumentObject::DocumentObject(std::shared_ptr<CadSession> session) : CadObject(std::move(session), u"Document")
{
}

Variant DocumentObject::dispatch(MemberAccess access, std::u16string_view member, std::span<const Variant> args,
                                 const Variant* value)
{
    return dispatchMember<DocumentObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
