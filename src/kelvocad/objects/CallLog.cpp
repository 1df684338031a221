#include "kelvocad/objects/CallLog.h"

#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "common/Utf.h"

#include <cstdio>

namespace kelvocad {

namespace {

// What the log keeps of an object: a weak reference. Using it as an object fails.
class LoggedObject : public automation::Object {
public:
    explicit LoggedObject(const automation::ObjectRef& object) : object_(object) {}

    automation::ObjectRef object() const { return object_.lock(); }

    automation::Variant get(std::u16string_view, std::span<const automation::Variant>) override { refuse(); }
    void put(std::u16string_view, const automation::Variant&, std::span<const automation::Variant>) override
    {
        refuse();
    }
    automation::Variant call(std::u16string_view, std::span<const automation::Variant>) override { refuse(); }

private:
    [[noreturn]] static void refuse()
    {
        throw automation::AutomationError(automation::hr::Disconnected, u"A logged object cannot be used");
    }

    std::weak_ptr<automation::Object> object_;
};

automation::Variant detach(const automation::Variant& value)
{
    switch (value.type()) {
    case automation::VariantType::Object:
        return value.objectValue() ? automation::Variant(std::make_shared<LoggedObject>(value.objectValue())) : value;
    case automation::VariantType::Array:
        if (value.arrayType() == automation::ArrayType::Object || value.arrayType() == automation::ArrayType::Variant) {
            std::vector<automation::Variant> elements = value.elements();
            for (auto& element : elements)
                element = detach(element);
            return automation::Variant::array(value.arrayType(), std::move(elements));
        }
        return value;
    default:
        return value;
    }
}

}  // namespace

automation::ObjectRef CallRecord::loggedObject(const automation::Variant& value)
{
    if (value.type() != automation::VariantType::Object)
        return nullptr;
    const auto* logged = dynamic_cast<const LoggedObject*>(value.objectValue().get());
    return logged ? logged->object() : value.objectValue();
}

std::u16string CallRecord::describe() const
{
    std::u16string text = objectKind;
    if (!objectId.empty())
        text += u"(" + objectId + u")";
    text += u"." + member;
    if (access == MemberAccess::Call || !args.empty()) {
        text += u"(";
        for (size_t i = 0; i < args.size(); ++i) {
            if (i)
                text += u", ";
            text += automation::describe(args[i]);
        }
        text += u")";
    }
    if (access == MemberAccess::Put)
        text += u" = " + automation::describe(value);
    if (errorCode) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(*errorCode));
        text += u" -> error " + common::fromAscii(hex) + u" " + errorDescription;
    } else if (access != MemberAccess::Put) {
        text += u" -> " + automation::describe(result);
    }
    return text;
}

void CallLog::add(CallRecord record)
{
    if (capacity_ == 0)
        return;
    for (auto& arg : record.args)
        arg = detach(arg);
    record.value = detach(record.value);
    record.result = detach(record.result);
    if (records_.size() == capacity_)
        records_.pop_front();
    records_.push_back(std::move(record));
}

void CallLog::setCapacity(size_t capacity)
{
    capacity_ = capacity;
    while (records_.size() > capacity_)
        records_.pop_front();
}

size_t CallLog::count(std::u16string_view member, std::u16string_view objectKind) const
{
    size_t n = 0;
    for (const auto& record : records_)
        if (automation::memberNameEquals(record.member, member) &&
            (objectKind.empty() || record.objectKind == objectKind))
            ++n;
    return n;
}

std::vector<std::u16string> CallLog::members() const
{
    std::vector<std::u16string> names;
    names.reserve(records_.size());
    for (const auto& record : records_)
        names.push_back(record.member);
    return names;
}

std::u16string CallLog::describe() const
{
    std::u16string text;
    for (const auto& record : records_)
        text += record.describe() + u"\n";
    return text;
}

}  // namespace kelvocad
