#pragma once

#include "automation/Variant.h"
#include "kelvocad/model/Point3.h"

#include <span>
#include <string>

namespace kelvocad {

// The arguments of one member access, read with the conversions a CAD server applies.
// A value that does not convert throws AutomationError(hr::TypeMismatch).
class MemberArgs {
public:
    explicit MemberArgs(std::span<const automation::Variant> args) : args_(args) {}

    size_t size() const noexcept { return args_.size(); }
    // Whether argument i was passed and not left out.
    bool has(size_t i) const noexcept { return i < args_.size() && !args_[i].isOmitted(); }
    const automation::Variant& at(size_t i) const { return args_[i]; }

    int32_t integer(size_t i) const { return args_[i].toInt(); }
    double number(size_t i) const { return args_[i].toDouble(); }
    std::u16string string(size_t i) const { return args_[i].toString(); }
    Point3 point(size_t i) const { return toPoint(args_[i]); }

    // A point is an array of two or three numbers (Z is 0 when left out).
    static Point3 toPoint(const automation::Variant& value);
    static automation::Variant fromPoint(const Point3& point);

private:
    std::span<const automation::Variant> args_;
};

}  // namespace kelvocad
