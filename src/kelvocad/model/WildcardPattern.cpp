#include "kelvocad/model/WildcardPattern.h"

namespace kelvocad {

namespace {

bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Letters beyond ASCII count as letters too, so "@" matches a kana or a kanji: a Japanese
// drawing would otherwise have no use for it.
bool isLetter(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
        return true;
    if (c < 0x80)
        return false;
    if (c >= 0x3000 && c <= 0x303F)  // CJK punctuation and the ideographic space
        return false;
    if ((c >= 0xFF00 && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65))
        return false;  // full-width punctuation and digits
    return c != 0x00D7 && c != 0x00F7 && !(c >= 0x2000 && c <= 0x2BFF);
}

}  // namespace

WildcardPattern::WildcardPattern(std::u16string_view pattern, LetterCase letterCase) : letterCase_(letterCase)
{
    // Split at commas that are neither escaped nor inside a bracketed set.
    size_t start = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char16_t c = pattern[i];
        if (c == u'`') {
            ++i;
        } else if (c == u'[') {
            bool negated = false;
            size_t first = 0;
            const size_t close = findSetEnd(pattern, i, negated, first);
            if (close != std::u16string_view::npos)
                i = close;
        } else if (c == u',') {
            alternatives_.push_back(parseAlternative(pattern.substr(start, i - start)));
            start = i + 1;
        }
    }
    alternatives_.push_back(parseAlternative(pattern.substr(start)));
}

size_t WildcardPattern::findSetEnd(std::u16string_view text, size_t open, bool& negated, size_t& firstMember)
{
    // The first member may be "]" itself, so the search for the closing bracket starts
    // after it: "[]]" is the set of "]", "[~]]" every character but "]". A "~" that leaves
    // nothing to negate is a member: "[~]" is the set of "~".
    auto closeAfter = [&](size_t first) {
        return first < text.size() ? text.find(u']', first + 1) : std::u16string_view::npos;
    };
    negated = false;
    firstMember = open + 1;
    if (firstMember < text.size() && text[firstMember] == u'~') {
        const size_t close = closeAfter(firstMember + 1);
        if (close != std::u16string_view::npos) {
            negated = true;
            firstMember += 1;
            return close;
        }
    }
    return closeAfter(firstMember);
}

WildcardPattern::Alternative WildcardPattern::parseAlternative(std::u16string_view text)
{
    Alternative alt;
    size_t i = 0;
    if (!text.empty() && text[0] == u'~') {
        alt.negated = true;
        i = 1;
    }
    while (i < text.size()) {
        char16_t c = text[i];
        Token token;
        switch (c) {
        case u'*':
            token.kind = Kind::AnyRun;
            break;
        case u'?':
            token.kind = Kind::AnyOne;
            break;
        case u'#':
            token.kind = Kind::Digit;
            break;
        case u'@':
            token.kind = Kind::Letter;
            break;
        case u'.':
            token.kind = Kind::NonAlphanumeric;
            break;
        case u'`':
            // A trailing backquote has nothing to escape and stands for itself.
            if (i + 1 < text.size())
                c = text[++i];
            token.ch = c;
            break;
        case u'[': {
            size_t j = 0;
            const size_t close = findSetEnd(text, i, token.negated, j);
            if (close == std::u16string_view::npos) {
                token.ch = c;
                break;
            }
            token.kind = Kind::Set;
            while (j < close) {
                char16_t first = text[j];
                if (first == u'`' && j + 1 < close)
                    first = text[++j];
                if (j + 2 < close && text[j + 1] == u'-') {
                    char16_t last = text[j + 2];
                    if (last == u'`' && j + 3 < close) {
                        last = text[j + 3];
                        ++j;
                    }
                    token.ranges.push_back({first, last});
                    j += 3;
                } else {
                    token.ranges.push_back({first, first});
                    ++j;
                }
            }
            i = close;
            break;
        }
        default:
            token.ch = c;
            break;
        }
        // Consecutive stars are one star; it keeps the backtracking linear.
        if (!(token.kind == Kind::AnyRun && !alt.tokens.empty() && alt.tokens.back().kind == Kind::AnyRun))
            alt.tokens.push_back(std::move(token));
        ++i;
    }
    return alt;
}

char16_t WildcardPattern::fold(char16_t c) const
{
    if (letterCase_ == LetterCase::Insensitive && c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - u'a' + u'A');
    return c;
}

bool WildcardPattern::tokenMatches(const Token& token, char16_t c) const
{
    switch (token.kind) {
    case Kind::Literal:
        return fold(token.ch) == fold(c);
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return isAsciiDigit(c);
    case Kind::Letter:
        return isLetter(c);
    case Kind::NonAlphanumeric:
        return !isAsciiDigit(c) && !isLetter(c);
    case Kind::Set: {
        bool inSet = false;
        for (const Range& r : token.ranges) {
            if ((c >= r.first && c <= r.last) || (fold(c) >= fold(r.first) && fold(c) <= fold(r.last))) {
                inSet = true;
                break;
            }
        }
        return inSet != token.negated;
    }
    case Kind::AnyRun:
        break;
    }
    return false;
}

bool WildcardPattern::matchTokens(const std::vector<Token>& tokens, std::u16string_view text) const
{
    // Greedy matching with a single backtrack point at the last star: enough for patterns
    // whose stars match any run, and linear in practice.
    size_t t = 0, p = 0;
    size_t starToken = std::u16string_view::npos, starText = 0;
    while (t < text.size()) {
        if (p < tokens.size() && tokens[p].kind == Kind::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < tokens.size() && tokenMatches(tokens[p], text[t])) {
            ++p;
            ++t;
        } else if (starToken != std::u16string_view::npos) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < tokens.size() && tokens[p].kind == Kind::AnyRun)
        ++p;
    return p == tokens.size();
}

bool WildcardPattern::matches(std::u16string_view text) const
{
    for (const Alternative& alt : alternatives_) {
        if (matchTokens(alt.tokens, text) != alt.negated)
            return true;
    }
    return false;
}

}  // namespace kelvocad
