#pragma once

#include <string>
#include <string_view>

namespace common {

// Strict UTF-8 <-> UTF-16. Ill-formed input (lone surrogates, bad UTF-8 sequences) becomes
// U+FFFD rather than being dropped, so a length mismatch never hides data loss.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view bytes);

// No lone surrogate: the text has a UTF-8 form that gives it back.
bool isWellFormedUtf16(std::u16string_view text) noexcept;

// Plain ASCII text (names, ProgIDs, member names) without a conversion table.
std::u16string fromAscii(std::string_view ascii);

}  // namespace common
