#include "grid/MatchesAnyMask.h"

#include <vector>

namespace grid {

namespace {

constexpr int maxStars = 30;

char16_t foldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// One position of a compiled mask.
struct MaskPart {
    enum class Kind { Literal, AnyChar, AnyRun, Set } kind = Kind::Literal;
    char16_t literal = 0;
    bool negated = false;
    std::vector<std::pair<char16_t, char16_t>> ranges;  // folded, both ends included

    bool matches(char16_t c) const
    {
        const char16_t folded = foldAscii(c);
        switch (kind) {
        case Kind::Literal:
            return foldAscii(literal) == folded;
        case Kind::AnyChar:
            return true;
        case Kind::AnyRun:
            return false;
        case Kind::Set:
            for (const auto& [low, high] : ranges)
                if (folded >= low && folded <= high)
                    return !negated;
            return negated;
        }
        return false;
    }
};

std::vector<MaskPart> compile(std::u16string_view mask)
{
    std::vector<MaskPart> parts;
    int stars = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        MaskPart part;
        const char16_t c = mask[i];
        if (c == u'*') {
            if (++stars > maxStars)
                throw MaskError("a block mask has more than 30 stars");
            part.kind = MaskPart::Kind::AnyRun;
        } else if (c == u'?') {
            part.kind = MaskPart::Kind::AnyChar;
        } else if (c == u'[') {
            part.kind = MaskPart::Kind::Set;
            ++i;
            if (i < mask.size() && mask[i] == u'!') {
                part.negated = true;
                ++i;
            }
            bool closed = false;
            const size_t setStart = i;
            for (; i < mask.size(); ++i) {
                const char16_t first = mask[i];
                if (first == u']') {
                    closed = true;
                    break;
                }
                if (first == u'-' && i == setStart)
                    throw MaskError("a range in a block mask has no first character");
                if (i + 2 < mask.size() && mask[i + 1] == u'-' && mask[i + 2] != u']') {
                    char16_t low = foldAscii(first);
                    char16_t high = foldAscii(mask[i + 2]);
                    if (low > high)
                        std::swap(low, high);
                    part.ranges.emplace_back(low, high);
                    i += 2;
                } else {
                    part.ranges.emplace_back(foldAscii(first), foldAscii(first));
                }
            }
            if (!closed)
                throw MaskError("a set in a block mask has no closing bracket");
        } else {
            part.literal = c;
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

// Star matching with one back-track point: the latest star takes one more character when
// the rest fails.
bool matchOne(std::u16string_view name, const std::vector<MaskPart>& parts)
{
    size_t n = 0;
    size_t p = 0;
    size_t starPart = std::u16string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < parts.size() && parts[p].kind == MaskPart::Kind::AnyRun) {
            starPart = p++;
            starName = n;
        } else if (p < parts.size() && parts[p].matches(name[n])) {
            ++p;
            ++n;
        } else if (starPart != std::u16string_view::npos) {
            p = starPart + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < parts.size() && parts[p].kind == MaskPart::Kind::AnyRun)
        ++p;
    return p == parts.size();
}

}  // namespace

bool MatchesAnyMask(std::u16string_view name, std::u16string_view masks)
{
    size_t start = 0;
    for (;;) {
        const size_t comma = masks.find(u',', start);
        const std::u16string_view mask = masks.substr(start, comma == std::u16string_view::npos ? masks.npos : comma - start);
        if (matchOne(name, compile(mask)))
            return true;
        if (comma == std::u16string_view::npos)
            return false;
        start = comma + 1;
    }
}

}  // namespace grid
