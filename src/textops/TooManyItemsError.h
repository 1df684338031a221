#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace textops {

// A numbering run longer than the line editor can take. Refused before anything changes.
class TooManyItemsError : public std::runtime_error {
public:
    TooManyItemsError(std::u16string requested, std::int64_t limit);
    // The count as the user typed it (it may not fit any integer type).
    const std::u16string& requested() const noexcept { return requested_; }
    std::int64_t limit() const noexcept { return limit_; }
    std::u16string message() const;

private:
    std::u16string requested_;
    std::int64_t limit_;
};

}  // namespace textops
