#pragma once

#include "automation/Object.h"
#include "kelvocad/objects/MemberAccess.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kelvocad {

class CadSession;
class Drawing;

// Base of KelvoCAD's Automation objects. Every access goes through the session, which
// counts and logs it and applies the planned faults, before the object runs the member.
// An object holds the session (and through it the drawing), never an entity: entities are
// looked up by handle on each access, so an object whose entity was erased fails cleanly.
class CadObject : public automation::Object {
public:
    using automation::Object::call;
    using automation::Object::get;

    automation::Variant get(std::u16string_view member, std::span<const automation::Variant> args) override;
    void put(std::u16string_view member, const automation::Variant& value,
             std::span<const automation::Variant> args) override;
    automation::Variant call(std::u16string_view member, std::span<const automation::Variant> args) override;

    const std::u16string& kind() const noexcept { return kind_; }
    // The handle or name that tells this object from others of its kind, for the call log.
    virtual std::u16string id() const { return {}; }

    // Runs a member after the session has accepted the call.
    virtual automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                         std::span<const automation::Variant> args,
                                         const automation::Variant* value) = 0;

    CadSession& session() const noexcept { return *session_; }
    const std::shared_ptr<CadSession>& sessionPtr() const noexcept { return session_; }
    // The drawing this object was made for; throws once another drawing was opened.
    Drawing& drawing() const;

protected:
    CadObject(std::shared_ptr<CadSession> session, std::u16string kind);

private:
    std::shared_ptr<CadSession> session_;
    std::u16string kind_;
    uint64_t documentGeneration_;
};

}  // namespace kelvocad
