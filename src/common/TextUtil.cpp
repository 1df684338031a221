#include "common/TextUtil.h"

namespace common {

std::u16string_view trimControlAndSpace(std::u16string_view text) noexcept
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && text[begin] <= u' ')
        ++begin;
    while (end > begin && text[end - 1] <= u' ')
        --end;
    return text.substr(begin, end - begin);
}

bool isBlank(std::u16string_view text) noexcept
{
    return trimControlAndSpace(text).empty();
}

std::u16string asciiUpper(std::u16string_view text)
{
    std::u16string result(text);
    for (auto& c : result)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    return result;
}

}  // namespace common
