#include "textops/TextReplace.h"

#include "textops/zenHanUtil.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unicode/uchar.h>
#include <unicode/utf16.h>
#endif

namespace textops {

namespace {

// Upper-cased with the same length as the input, so a position in the copy is a position
// in the text. A character whose upper case would change the length stays as it is.
std::u16string upperSameLength(std::u16string_view text)
{
    std::u16string result(text);
    if (text.empty())
        return result;
#ifdef _WIN32
    const int length = static_cast<int>(text.size());
    if (LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, reinterpret_cast<LPCWSTR>(text.data()), length,
                      reinterpret_cast<LPWSTR>(result.data()), length, nullptr, nullptr, 0) != length)
        result.assign(text);
#else
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = i;
        UChar32 c;
        U16_NEXT(text.data(), i, text.size(), c);
        const UChar32 upper = u_toupper(c);
        if (static_cast<size_t>(U16_LENGTH(upper)) != i - start)
            continue;
        size_t out = start;
        U16_APPEND_UNSAFE(result.data(), out, upper);
    }
#endif
    return result;
}

}  // namespace

std::u16string replaceAll(std::u16string_view text, std::u16string_view search, std::u16string_view replacement,
                          MatchCase matchCase)
{
    if (search.empty())
        return std::u16string(text);
    if (matchCase == MatchCase::Exact)
        return replaceEvery(text, search, replacement);

    const std::u16string upperText = upperSameLength(text);
    const std::u16string upperSearch = upperSameLength(search);
    std::u16string result;
    result.reserve(text.size());
    size_t start = 0;
    size_t found = upperText.find(upperSearch);
    while (found != std::u16string::npos) {
        result.append(text.substr(start, found - start));
        result.append(replacement);
        start = found + upperSearch.size();
        found = upperText.find(upperSearch, start);
    }
    result.append(text.substr(start));
    return result;
}

}  // namespace textops
