#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace grid {

// A block mask that cannot be read: a set without its closing bracket, a range without a
// first character, too many stars.
class MaskError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when name matches one of the comma-separated masks. A mask is a file-name wildcard:
// "*" any run of characters, "?" one character, [a-c] or [xyz] one of the listed characters
// and ranges, [!...] one character not listed. ASCII letters match regardless of case,
// everything else exactly. Throws MaskError for a malformed mask.
bool MatchesAnyMask(std::u16string_view name, std::u16string_view masks);

}  // namespace grid
