// Feeds arbitrary masks, patterns and names to the two wildcard matchers.
#include "WildcardCheck.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzing::InputReader input(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::u16string pattern = input.field();
    const std::u16string text = input.field();
    std::string fault = fuzzing::checkBlockMask(text, pattern);
    if (fault.empty())
        fault = fuzzing::checkSelectionPattern(pattern, text);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
