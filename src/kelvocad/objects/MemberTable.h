#pragma once

#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "kelvocad/objects/MemberAccess.h"
#include "kelvocad/objects/MemberArgs.h"

#include <span>
#include <string>
#include <string_view>

namespace kelvocad {

// One member of an object class. Reading and calling are the same thing, as for a COM
// server that accepts DISPATCH_METHOD | DISPATCH_PROPERTYGET alike, so `Item` works both
// as an indexed property and as a method. A member without `put` is read-only.
template <class T>
struct Member {
    std::u16string_view name;
    size_t minArgs = 0;  // the first minArgs arguments may not be left out
    size_t maxArgs = 0;
    automation::Variant (*get)(T&, const MemberArgs&) = nullptr;
    void (*put)(T&, const automation::Variant&) = nullptr;
};

// Finds the member by name regardless of letter case and runs it, with COM's errors for an
// unknown name, a write to a read-only member, a wrong argument count and a missing
// required argument.
template <class T>
automation::Variant dispatchMember(std::span<const Member<T>> table, T& self, MemberAccess access,
                                   std::u16string_view name, std::span<const automation::Variant> args,
                                   const automation::Variant* value)
{
    using automation::AutomationError;
    namespace hr = automation::hr;
    for (const Member<T>& member : table) {
        if (!automation::memberNameEquals(member.name, name))
            continue;
        if (access == MemberAccess::Put) {
            if (!member.put)
                throw AutomationError(hr::MemberNotFound, std::u16string(member.name) + u" is read-only");
            if (!args.empty())
                throw AutomationError(hr::BadParamCount, std::u16string(member.name) + u" takes no index");
            member.put(self, *value);
            return {};
        }
        if (!member.get)
            throw AutomationError(hr::MemberNotFound, std::u16string(member.name) + u" is write-only");
        if (args.size() < member.minArgs || args.size() > member.maxArgs)
            throw AutomationError(hr::BadParamCount, u"Wrong number of arguments for " + std::u16string(member.name));
        for (size_t i = 0; i < member.minArgs; ++i)
            if (args[i].isOmitted())
                throw AutomationError(hr::ParamNotOptional,
                                      u"A required argument of " + std::u16string(member.name) + u" is missing");
        return member.get(self, MemberArgs(args));
    }
    throw AutomationError(hr::UnknownName, u"Unknown member " + std::u16string(name));
}

}  // namespace kelvocad
