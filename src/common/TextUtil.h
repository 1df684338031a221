#pragma once

#include <string>
#include <string_view>

namespace common {

// A text is blank when nothing remains after removing the characters up to U+0020 at both
// ends. A full-width space (U+3000) is text.
bool isBlank(std::u16string_view text) noexcept;
std::u16string_view trimControlAndSpace(std::u16string_view text) noexcept;

// Upper-cases ASCII letters a-z only, leaving every other character as it is.
std::u16string asciiUpper(std::u16string_view text);

}  // namespace common
