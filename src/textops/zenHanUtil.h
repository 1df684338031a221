#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace textops {

// Full-width ("zen") and half-width ("han") conversions of one text, in place.

inline constexpr std::size_t zenHanTableSize = 386;

// Five groups, each a block of full-width entries followed by as many half-width entries;
// entry k of one block pairs with entry k of the other.
extern const std::array<std::u16string_view, zenHanTableSize> zenHanTable;

struct ZenHanGroup {
    std::size_t fullFirst;
    std::size_t halfFirst;
    std::size_t pairs;
};
inline constexpr ZenHanGroup zenHanDigits{0, 10, 10};
inline constexpr ZenHanGroup zenHanLetters{20, 72, 52};
inline constexpr ZenHanGroup zenHanSymbols{124, 157, 33};
inline constexpr ZenHanGroup zenHanKatakana{190, 274, 84};
inline constexpr ZenHanGroup zenHanNumeric{358, 372, 14};

// Called after each replace pass of a table conversion so the window stays live.
using MessagePump = std::function<void()>;

// Table conversions: one replace-all pass per pair of the group, in table order. The
// voiced katakana come first so that a base followed by its sound mark converts as one.
void ToZenKana(std::u16string& text, const MessagePump& pump = {});
void ToHanKana(std::u16string& text, const MessagePump& pump = {});
void ToZenDigit(std::u16string& text, const MessagePump& pump = {});
void ToHanDigit(std::u16string& text, const MessagePump& pump = {});
void ToZenNumeric(std::u16string& text, const MessagePump& pump = {});
void ToHanNumeric(std::u16string& text, const MessagePump& pump = {});
void ToZenAlpha(std::u16string& text, const MessagePump& pump = {});
void ToHanAlpha(std::u16string& text, const MessagePump& pump = {});
void ToZenSymbol(std::u16string& text, const MessagePump& pump = {});
void ToHanSymbol(std::u16string& text, const MessagePump& pump = {});

// Whole conversions through the platform's width mapping: every character that has a
// full-width (half-width) counterpart. Windows maps them itself; elsewhere ICU's width
// transliterators do, limited to ASCII, the space, the Latin-1 signs with full-width forms,
// and katakana with its punctuation, so that box-drawing signs, arrows and Hangul stay.
void ToZenAll(std::u16string& text);
void ToHanAll(std::u16string& text);

// Every occurrence of from, left to right and without overlap, replaced by to. Replaced text
// is not searched again. Linear in the text's length for a short pattern.
std::u16string replaceEvery(std::u16string_view text, std::u16string_view from, std::u16string_view to);

}  // namespace textops
