#include "kelvocad/objects/ApplicationObject.h"

#include "kelvocad/objects/CadErrors.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/DocumentObject.h"
#include "kelvocad/objects/MemberTable.h"

#include <array>
#include <cmath>

namespace kelvocad {

using automation::Variant;

namespace {

const std::array<Member<ApplicationObject>, 5>& members()
{
    using A = ApplicationObject;
    static const std::array<Member<A>, 5> table{{
        {u"ActiveDocument", 0, 0,
         [](A& a, const MemberArgs&) -> Variant { return a.document(); }},
        {u"HWND", 0, 0,
         [](A& a, const MemberArgs&) -> Variant { return Variant(a.session().applicationWindow); }},
        {u"Name", 0, 0, [](A&, const MemberArgs&) -> Variant { return Variant(u"KelvoCAD"); }},
        {u"Version", 0, 0, [](A&, const MemberArgs&) -> Variant { return Variant(u"1.0"); }},
        {u"ZoomCenter", 2, 2,
         [](A& a, const MemberArgs& args) -> Variant {
             const Point3 center = args.point(0);
             const double height = args.number(1);
             if (!(height > 0.0) || !std::isfinite(height))
                 throwInvalidArgument(u"The view height must be positive");
             a.session().zoomCenter(center, height);
             return {};
         }},
    }};
    return table;
}

}  // namespace

ApplicationObject::ApplicationObject(std::shared_ptr<CadSession> session)
    : CadObject(std::move(session), u"Application")
{
}

automation::ObjectRef ApplicationObject::document()
{
    return std::make_shared<DocumentObject>(sessionPtr());
}

Variant ApplicationObject::dispatch(MemberAccess access, std::u16string_view member,
                                    std::span<const Variant> args, const Variant* value)
{
    return dispatchMember<ApplicationObject>(members(), *this, access, member, args, value);
}

}  // namespace kelvocad
