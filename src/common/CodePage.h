#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace common {

// The system's ANSI code page: GetACP() on Windows. Other systems have none, and the files
// this program reads are Shift_JIS text written on Japanese Windows, so they get 932.
int ansiCodePage();

// Bytes that are no character of the code page become U+FFFD; decoding never fails.
std::u16string decodeCodePage(std::string_view bytes, int codePage);

// nullopt when any character (or a lone surrogate) has no mapping in the code page: no
// best-fit substitutes, so a caller can pick an encoding that keeps the text instead.
std::optional<std::string> encodeCodePage(std::u16string_view text, int codePage);

}  // namespace common
