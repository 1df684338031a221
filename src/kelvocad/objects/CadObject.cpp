#include "kelvocad/objects/CadObject.h"

#include "automation/AutomationError.h"
#include "kelvocad/objects/CadSession.h"

namespace kelvocad {

CadObject::CadObject(std::shared_ptr<CadSession> session, std::u16string kind)
    : session_(std::move(session)), kind_(std::move(kind)), documentGeneration_(session_->documentGeneration())
{
}

Drawing& CadObject::drawing() const
{
    if (session_->documentGeneration() != documentGeneration_)
        throw automation::AutomationError(automation::hr::Exception, u"The document of this object was closed");
    return session_->drawing();
}

automation::Variant CadObject::get(std::u16string_view member, std::span<const automation::Variant> args)
{
    return session_->invoke(*this, MemberAccess::Get, member, args, nullptr);
}

void CadObject::put(std::u16string_view member, const automation::Variant& value,
                    std::span<const automation::Variant> args)
{
    session_->invoke(*this, MemberAccess::Put, member, args, &value);
}

automation::Variant CadObject::call(std::u16string_view member, std::span<const automation::Variant> args)
{
    return session_->invoke(*this, MemberAccess::Call, member, args, nullptr);
}

}  // namespace kelvocad
