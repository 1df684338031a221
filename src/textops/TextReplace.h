#pragma once

#include <string>
#include <string_view>

namespace textops {

enum class MatchCase { Exact, IgnoreCase };

// Every occurrence of search in text replaced by replacement, scanning left to right without
// overlap; replaced text is not searched again. Ignoring case compares both after upper-casing
// them with the user locale's rules, one character for one. An empty search changes nothing;
// an empty replacement deletes the occurrences.
std::u16string replaceAll(std::u16string_view text, std::u16string_view search, std::u16string_view replacement,
                          MatchCase matchCase);

}  // namespace textops
