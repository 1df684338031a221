#pragma once

#include "automation/Object.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sockettest {

// A child object with a name; counts how many exist, so tests can see that releasing a
// reference really lets the object go.
class TestItem : public automation::Object {
public:
    explicit TestItem(std::u16string name);
    ~TestItem() override;

    using Object::call;
    using Object::get;
    automation::Variant get(std::u16string_view member, std::span<const automation::Variant> args = {}) override;
    void put(std::u16string_view member, const automation::Variant& value,
             std::span<const automation::Variant> args = {}) override;
    automation::Variant call(std::u16string_view member, std::span<const automation::Variant> args = {}) override;

    static int liveCount() { return live_; }

private:
    std::u16string name_;
    static std::atomic<int> live_;
};

// The root of a small object model that exercises every kind of value, argument and
// failure a transport must carry.
//
//   get/put Value            any value, kept as given
//   call Echo(x)             x; nothing without an argument
//   call Describe(args...)   the type name of each argument, as a variant array
//   get Item(i)              the i-th of three lasting items (the same object every time)
//   get Items                the three items as an object array
//   call NewItem(name)       a fresh item nobody else holds
//   call IsItem(obj, i)      whether obj is the i-th item itself
//   call Sum(int16 array)    the sum of the elements
//   call Fail(code, text)    fails with that code and description
//   call Throw               fails with an exception that is not an AutomationError
//   get LiveItems            how many items exist now
//   call Wait                runs the wait hook (tests make it spin an event loop)
class TestRoot : public automation::Object {
public:
    TestRoot();

    using Object::call;
    using Object::get;
    automation::Variant get(std::u16string_view member, std::span<const automation::Variant> args = {}) override;
    void put(std::u16string_view member, const automation::Variant& value,
             std::span<const automation::Variant> args = {}) override;
    automation::Variant call(std::u16string_view member, std::span<const automation::Variant> args = {}) override;

    std::function<automation::Variant()> waitHook;
    // The deepest nesting of calls seen at once: more than 1 means a call was let in while
    // another was running.
    int maxDepth() const { return maxDepth_; }

private:
    automation::Variant value_;
    std::vector<automation::ObjectRef> items_;
    int depth_ = 0;
    int maxDepth_ = 0;
};

}  // namespace sockettest
