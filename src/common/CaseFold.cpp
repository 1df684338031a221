#include "common/CaseFold.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/uchar.h>
#endif

namespace common {

namespace {

char32_t nextCodePoint(std::u16string_view text, size_t& i)
{
    char32_t c = text[i++];
    if (c >= 0xD800 && c <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
        c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
    return c;
}

char32_t upper(char32_t c)
{
    if (c < 0x80)
        return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c;
#ifdef _WIN32
    wchar_t units[2];
    int count = 1;
    if (c >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = static_cast<wchar_t>(c);
    }
    wchar_t mapped[2] = {};
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, units, count, mapped, count, nullptr, nullptr, 0) != count)
        return c;
    if (count == 2)
        return 0x10000 + ((static_cast<char32_t>(mapped[0]) - 0xD800) << 10) + (static_cast<char32_t>(mapped[1]) - 0xDC00);
    return mapped[0];
#else
    return static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
#endif
}

}  // namespace

int compareIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = upper(nextCodePoint(a, i));
        const char32_t cb = upper(nextCodePoint(b, j));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return compareIgnoringCase(a, b) == 0;
}

}  // namespace common
