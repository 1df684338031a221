#pragma once

#include <string>
#include <string_view>

namespace common {

// Case-insensitive comparison by code point after the simple Unicode upper-case mapping:
// the same order on every platform, and the same result for the names Windows matches
// without regard to case.
int compareIgnoringCase(std::u16string_view a, std::u16string_view b);
bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace common
