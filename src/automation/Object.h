#pragma once

#include "automation/Variant.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace automation {

// A late-bound Automation object: members are reached by name, matched regardless of case.
// Every failure is an AutomationError. Dropping the last ObjectRef releases the object on
// the server.
class Object {
public:
    virtual ~Object() = default;

    virtual Variant get(std::u16string_view member, std::span<const Variant> args = {}) = 0;
    virtual void put(std::u16string_view member, const Variant& value, std::span<const Variant> args = {}) = 0;
    virtual Variant call(std::u16string_view member, std::span<const Variant> args = {}) = 0;

    // Convenience forms for the common cases of one or two arguments.
    Variant get(std::u16string_view member, const Variant& arg) { return get(member, std::span(&arg, 1)); }
    Variant call(std::u16string_view member, std::initializer_list<Variant> args)
    {
        return call(member, std::span(args.begin(), args.size()));
    }
};

// True when two member names are the same, ignoring the case of ASCII letters.
bool memberNameEquals(std::u16string_view a, std::u16string_view b) noexcept;

}  // namespace automation
