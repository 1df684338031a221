#include "automation/Variant.h"

#include "automation/AutomationError.h"
#include "automation/Object.h"
#include "common/Utf.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace automation {

namespace {

[[noreturn]] void typeMismatch(const char* what)
{
    throw AutomationError(hr::TypeMismatch, common::fromUtf8(std::string("Type mismatch: ") + what));
}

[[noreturn]] void overflow()
{
    throw AutomationError(hr::Overflow, u"Overflow");
}

// Parses a whole decimal number, allowing surrounding blanks, as COM's string coercion does
// for the invariant cases that matter here ("12", " -3.5 ").
bool parseNumber(const std::u16string& text, double& out)
{
    std::string ascii;
    for (char16_t c : text) {
        if (c > 0x7F)
            return false;
        ascii += static_cast<char>(c);
    }
    const auto first = ascii.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const auto last = ascii.find_last_not_of(" \t");
    ascii = ascii.substr(first, last - first + 1);
    char* end = nullptr;
    out = std::strtod(ascii.c_str(), &end);
    return end == ascii.c_str() + ascii.size() && std::isfinite(out);
}

std::u16string asciiLower(std::u16string_view s)
{
    std::u16string r(s);
    for (auto& c : r)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return r;
}

std::u16string formatDouble(double d)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    return common::fromAscii(buf);
}

}  // namespace

Variant Variant::omitted()
{
    Variant v;
    v.value_ = OmittedTag{};
    return v;
}

Variant Variant::array(ArrayType type, std::vector<Variant> elements)
{
    auto data = std::make_shared<ArrayData>(ArrayData{type, std::move(elements)});
    Variant v{data};
    for (size_t i = 0; i < data->elements.size(); ++i)
        v.setAt(i, data->elements[i]);
    return v;
}

Variant Variant::int16Array(std::vector<int16_t> values)
{
    std::vector<Variant> elements(values.begin(), values.end());
    return Variant{std::make_shared<ArrayData>(ArrayData{ArrayType::Int16, std::move(elements)})};
}

Variant Variant::doubleArray(std::vector<double> values)
{
    std::vector<Variant> elements(values.begin(), values.end());
    return Variant{std::make_shared<ArrayData>(ArrayData{ArrayType::Double, std::move(elements)})};
}

Variant Variant::variantArray(std::vector<Variant> values)
{
    return Variant{std::make_shared<ArrayData>(ArrayData{ArrayType::Variant, std::move(values)})};
}

Variant Variant::objectArray(std::vector<ObjectRef> values)
{
    std::vector<Variant> elements;
    elements.reserve(values.size());
    for (auto& o : values)
        elements.emplace_back(std::move(o));
    return Variant{std::make_shared<ArrayData>(ArrayData{ArrayType::Object, std::move(elements)})};
}

Variant Variant::point(double x, double y, double z)
{
    return doubleArray({x, y, z});
}

VariantType Variant::type() const noexcept
{
    switch (value_.index()) {
    case 0: return VariantType::Empty;
    case 1: return VariantType::Omitted;
    case 2: return VariantType::Bool;
    case 3: return VariantType::Int16;
    case 4: return VariantType::Int32;
    case 5: return VariantType::Double;
    case 6: return VariantType::String;
    case 7: return VariantType::Array;
    default: return VariantType::Object;
    }
}

bool Variant::toBool() const
{
    switch (type()) {
    case VariantType::Empty: return false;
    case VariantType::Bool: return boolValue();
    case VariantType::Int16: return int16Value() != 0;
    case VariantType::Int32: return int32Value() != 0;
    case VariantType::Double: return doubleValue() != 0.0;
    case VariantType::String: {
        const auto lower = asciiLower(stringValue());
        if (lower == u"true")
            return true;
        if (lower == u"false")
            return false;
        double d = 0;
        if (parseNumber(stringValue(), d))
            return d != 0.0;
        typeMismatch("string to Boolean");
    }
    default: typeMismatch("value to Boolean");
    }
}

int32_t Variant::toInt() const
{
    double d = 0;
    switch (type()) {
    case VariantType::Empty: return 0;
    case VariantType::Bool: return boolValue() ? -1 : 0;  // VARIANT_TRUE
    case VariantType::Int16: return int16Value();
    case VariantType::Int32: return int32Value();
    case VariantType::Double: d = doubleValue(); break;
    case VariantType::String:
        if (!parseNumber(stringValue(), d))
            typeMismatch("string to integer");
        break;
    default: typeMismatch("value to integer");
    }
    if (!std::isfinite(d))
        overflow();
    const double r = std::nearbyint(d);  // default rounding mode: half to even
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        overflow();
    return static_cast<int32_t>(r);
}

int16_t Variant::toInt16() const
{
    const int32_t v = toInt();
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        overflow();
    return static_cast<int16_t>(v);
}

double Variant::toDouble() const
{
    switch (type()) {
    case VariantType::Empty: return 0.0;
    case VariantType::Bool: return boolValue() ? -1.0 : 0.0;
    case VariantType::Int16: return int16Value();
    case VariantType::Int32: return int32Value();
    case VariantType::Double: return doubleValue();
    case VariantType::String: {
        double d = 0;
        if (!parseNumber(stringValue(), d))
            typeMismatch("string to double");
        return d;
    }
    default: typeMismatch("value to double");
    }
}

std::u16string Variant::toString() const
{
    switch (type()) {
    case VariantType::Empty: return {};
    case VariantType::Bool: return boolValue() ? u"True" : u"False";
    case VariantType::Int16: return common::fromAscii(std::to_string(int16Value()));
    case VariantType::Int32: return common::fromAscii(std::to_string(int32Value()));
    case VariantType::Double: return formatDouble(doubleValue());
    case VariantType::String: return stringValue();
    default: typeMismatch("value to string");
    }
}

ObjectRef Variant::toObject() const
{
    switch (type()) {
    case VariantType::Empty: return nullptr;
    case VariantType::Object: return objectValue();
    default: typeMismatch("value to object");
    }
}

const Variant::ArrayData& Variant::arrayData() const
{
    if (!isArray())
        typeMismatch("value is not an array");
    return *std::get<std::shared_ptr<ArrayData>>(value_);
}

ArrayType Variant::arrayType() const
{
    return arrayData().type;
}

size_t Variant::arraySize() const
{
    return arrayData().elements.size();
}

Variant Variant::at(size_t index) const
{
    const auto& data = arrayData();
    if (index >= data.elements.size())
        throw AutomationError(hr::BadIndex, u"Array index out of bounds");
    return data.elements[index];
}

void Variant::setAt(size_t index, const Variant& value)
{
    const auto& current = arrayData();
    if (index >= current.elements.size())
        throw AutomationError(hr::BadIndex, u"Array index out of bounds");
    Variant converted;
    switch (current.type) {
    case ArrayType::Int16: converted = Variant(value.toInt16()); break;
    case ArrayType::Double: converted = Variant(value.toDouble()); break;
    case ArrayType::Object: converted = Variant(value.toObject()); break;
    case ArrayType::Variant: converted = value; break;
    }
    auto& shared = std::get<std::shared_ptr<ArrayData>>(value_);
    if (shared.use_count() > 1)
        shared = std::make_shared<ArrayData>(*shared);
    shared->elements[index] = std::move(converted);
}

std::vector<Variant> Variant::elements() const
{
    return arrayData().elements;
}

bool operator==(const Variant& a, const Variant& b)
{
    if (a.type() != b.type())
        return false;
    if (a.isArray()) {
        const auto& x = a.arrayData();
        const auto& y = b.arrayData();
        return x.type == y.type && x.elements == y.elements;
    }
    return a.value_ == b.value_;
}

std::u16string describe(const Variant& value)
{
    switch (value.type()) {
    case VariantType::Empty: return u"<empty>";
    case VariantType::Omitted: return u"<omitted>";
    case VariantType::Bool: return value.boolValue() ? u"true" : u"false";
    case VariantType::Int16: return value.toString() + u"s";
    case VariantType::Int32: return value.toString();
    case VariantType::Double: return value.toString() + (value.toString().find_first_of(u".e") == std::u16string::npos ? u".0" : u"");
    case VariantType::String: return u"\"" + value.stringValue() + u"\"";
    case VariantType::Object: return value.objectValue() ? u"<object>" : u"<nothing>";
    case VariantType::Array: {
        std::u16string text = u"[";
        for (size_t i = 0; i < value.arraySize(); ++i) {
            if (i)
                text += u", ";
            text += describe(value.at(i));
        }
        return text + u"]";
    }
    }
    return {};
}

}  // namespace automation
