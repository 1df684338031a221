#include "TestObjects.h"

#include "automation/AutomationError.h"

#include <stdexcept>

using automation::AutomationError;
using automation::memberNameEquals;
using automation::Variant;
using automation::VariantType;
namespace hr = automation::hr;

namespace sockettest {

namespace {

[[noreturn]] void unknown(std::u16string_view member)
{
    throw AutomationError(hr::UnknownName, u"Unknown name: " + std::u16string(member));
}

const Variant& argument(std::span<const Variant> args, size_t i)
{
    if (i >= args.size())
        throw AutomationError(hr::BadParamCount, u"Invalid number of parameters");
    return args[i];
}

std::u16string typeName(const Variant& v)
{
    switch (v.type()) {
    case VariantType::Empty: return u"empty";
    case VariantType::Omitted: return u"omitted";
    case VariantType::Bool: return u"bool";
    case VariantType::Int16: return u"int16";
    case VariantType::Int32: return u"int32";
    case VariantType::Double: return u"double";
    case VariantType::String: return u"string";
    case VariantType::Array: return u"array";
    case VariantType::Object: return u"object";
    }
    return {};
}

}  // namespace

std::atomic<int> TestItem::live_{0};

TestItem::TestItem(std::u16string name) : name_(std::move(name))
{
    ++live_;
}

TestItem::~TestItem()
{
    --live_;
}

Variant TestItem::get(std::u16string_view member, std::span<const Variant>)
{
    if (memberNameEquals(member, u"Name"))
        return Variant(name_);
    unknown(member);
}

void TestItem::put(std::u16string_view member, const Variant& value, std::span<const Variant>)
{
    if (memberNameEquals(member, u"Name")) {
        name_ = value.toString();
        return;
    }
    unknown(member);
}

Variant TestItem::call(std::u16string_view member, std::span<const Variant>)
{
    unknown(member);
}

TestRoot::TestRoot()
{
    for (const char16_t* name : {u"item0", u"item1", u"item2"})
        items_.push_back(std::make_shared<TestItem>(name));
}

Variant TestRoot::get(std::u16string_view member, std::span<const Variant> args)
{
    if (memberNameEquals(member, u"Value"))
        return value_;
    if (memberNameEquals(member, u"Item")) {
        const int i = argument(args, 0).toInt();
        if (i < 0 || i >= static_cast<int>(items_.size()))
            throw AutomationError(hr::BadIndex, u"No item at that index");
        return Variant(items_[static_cast<size_t>(i)]);
    }
    if (memberNameEquals(member, u"Items"))
        return Variant::objectArray(items_);
    if (memberNameEquals(member, u"LiveItems"))
        return Variant(TestItem::liveCount());
    unknown(member);
}

void TestRoot::put(std::u16string_view member, const Variant& value, std::span<const Variant>)
{
    if (memberNameEquals(member, u"Value")) {
        value_ = value;
        return;
    }
    unknown(member);
}

Variant TestRoot::call(std::u16string_view member, std::span<const Variant> args)
{
    struct Depth {
        TestRoot& root;
        explicit Depth(TestRoot& r) : root(r) { root.maxDepth_ = std::max(root.maxDepth_, ++root.depth_); }
        ~Depth() { --root.depth_; }
    } depth(*this);

    if (memberNameEquals(member, u"Echo"))
        return args.empty() ? Variant() : args[0];
    if (memberNameEquals(member, u"Describe")) {
        std::vector<Variant> names;
        for (const Variant& a : args)
            names.emplace_back(typeName(a));
        return Variant::variantArray(std::move(names));
    }
    if (memberNameEquals(member, u"NewItem"))
        return Variant(automation::ObjectRef(std::make_shared<TestItem>(argument(args, 0).toString())));
    if (memberNameEquals(member, u"IsItem")) {
        const auto object = argument(args, 0).toObject();
        const int i = argument(args, 1).toInt();
        return Variant(i >= 0 && i < static_cast<int>(items_.size()) && object == items_[static_cast<size_t>(i)]);
    }
    if (memberNameEquals(member, u"Sum")) {
        int32_t sum = 0;
        for (const Variant& e : argument(args, 0).elements())
            sum += e.toInt();
        return Variant(sum);
    }
    if (memberNameEquals(member, u"Fail"))
        throw AutomationError(argument(args, 0).toInt(), argument(args, 1).toString());
    if (memberNameEquals(member, u"Throw"))
        throw std::runtime_error("the object broke");
    if (memberNameEquals(member, u"Wait"))
        return waitHook ? waitHook() : Variant();
    unknown(member);
}

}  // namespace sockettest
