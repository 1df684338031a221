#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace automation {

class Object;
using ObjectRef = std::shared_ptr<Object>;

enum class VariantType { Empty, Omitted, Bool, Int16, Int32, Double, String, Array, Object };

// Element type of an array, as a COM SAFEARRAY declares it (VT_I2, VT_R8, VT_VARIANT,
// VT_DISPATCH). Elements are stored as Variants of the matching type.
enum class ArrayType { Int16, Double, Variant, Object };

// An Automation value. Copies are cheap: arrays are shared and copied on write.
class Variant {
public:
    Variant() = default;  // empty
    Variant(bool value) : value_(value) {}
    Variant(int16_t value) : value_(value) {}
    Variant(int32_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(std::u16string value) : value_(std::move(value)) {}
    Variant(std::u16string_view value) : value_(std::u16string(value)) {}
    Variant(const char16_t* value) : value_(std::u16string(value)) {}
    Variant(ObjectRef value) : value_(std::move(value)) {}
    // A reference to a concrete object class, so servers can return make_shared<T>(...) directly.
    template <class T>
        requires(!std::is_same_v<T, Object> && std::is_convertible_v<std::shared_ptr<T>, ObjectRef>)
    Variant(std::shared_ptr<T> value) : value_(ObjectRef(std::move(value)))
    {
    }
    Variant(const char*) = delete;  // narrow text would silently become a Boolean

    // A parameter left out of a call (COM: VT_ERROR with DISP_E_PARAMNOTFOUND).
    static Variant omitted();

    static Variant int16Array(std::vector<int16_t> values);
    static Variant doubleArray(std::vector<double> values);
    static Variant variantArray(std::vector<Variant> values);
    static Variant objectArray(std::vector<ObjectRef> values);
    static Variant array(ArrayType type, std::vector<Variant> elements);  // elements converted to type
    static Variant point(double x, double y, double z = 0.0);             // array of three doubles

    VariantType type() const noexcept;
    bool isEmpty() const noexcept { return type() == VariantType::Empty; }
    bool isOmitted() const noexcept { return type() == VariantType::Omitted; }
    bool isArray() const noexcept { return type() == VariantType::Array; }

    // Conversions with COM's coercion rules; a value that does not convert throws
    // AutomationError(hr::TypeMismatch), one out of range hr::Overflow.
    bool toBool() const;
    int16_t toInt16() const;
    int32_t toInt() const;  // doubles round half to even, as VariantChangeType does
    double toDouble() const;
    std::u16string toString() const;
    ObjectRef toObject() const;  // an empty variant gives a null reference

    // Arrays. Indexes are 0-based; out of range throws AutomationError(hr::BadIndex);
    // asking a non-array throws hr::TypeMismatch.
    ArrayType arrayType() const;
    size_t arraySize() const;
    Variant at(size_t index) const;
    double doubleAt(size_t index) const { return at(index).toDouble(); }
    void setAt(size_t index, const Variant& value);  // converted to the array's element type
    std::vector<Variant> elements() const;

    // Exact structural equality (same type, same values); objects compare by identity.
    friend bool operator==(const Variant& a, const Variant& b);

    // Direct access for transports that map every kind one to one.
    bool boolValue() const { return std::get<bool>(value_); }
    int16_t int16Value() const { return std::get<int16_t>(value_); }
    int32_t int32Value() const { return std::get<int32_t>(value_); }
    double doubleValue() const { return std::get<double>(value_); }
    const std::u16string& stringValue() const { return std::get<std::u16string>(value_); }
    const ObjectRef& objectValue() const { return std::get<ObjectRef>(value_); }

private:
    struct OmittedTag {
        bool operator==(const OmittedTag&) const = default;
    };
    struct ArrayData {
        ArrayType type;
        std::vector<Variant> elements;
    };
    using Value = std::variant<std::monostate, OmittedTag, bool, int16_t, int32_t, double, std::u16string,
                               std::shared_ptr<ArrayData>, ObjectRef>;

    explicit Variant(std::shared_ptr<ArrayData> array) : value_(std::move(array)) {}
    const ArrayData& arrayData() const;

    Value value_;
};

// A short human-readable rendering for logs and test failures.
std::u16string describe(const Variant& value);

}  // namespace automation
