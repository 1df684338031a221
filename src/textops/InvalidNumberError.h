#pragma once

#include <stdexcept>
#include <string>

namespace textops {

// A text that must be read as an integer holds a character that is not a digit of its
// radix. what() names the offending text the way the number parser reports it.
class InvalidNumberError : public std::runtime_error {
public:
    explicit InvalidNumberError(const std::u16string& offending);
    const std::u16string& offending() const noexcept { return offending_; }

private:
    std::u16string offending_;
};

}  // namespace textops
