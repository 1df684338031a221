#pragma once

// What the wildcard fuzzer checks of every input, shared with the test that replays its
// findings: the attribute grid's block masks (MatchesAnyMask) and KelvoCAD's selection
// filter patterns (WildcardPattern) end without any exception but the masks' documented
// MaskError, and agree with a plain backtracking matcher wherever only "*", "?" and
// literal characters are used.
#include "FuzzInput.h"

#include "grid/MatchesAnyMask.h"
#include "kelvocad/model/WildcardPattern.h"

#include <string>
#include <string_view>

namespace fuzzing {

inline char16_t foldAsciiLetter(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// "*" and "?" only, every other unit a literal; exponential in the worst case, so it is
// used on short inputs only.
inline bool referenceMatch(std::u16string_view pattern, std::u16string_view text, bool foldCase)
{
    if (pattern.empty())
        return text.empty();
    if (pattern.front() == u'*')
        for (size_t skip = 0; skip <= text.size(); ++skip)
            if (referenceMatch(pattern.substr(1), text.substr(skip), foldCase))
                return true;
    if (pattern.front() == u'*' || text.empty())
        return false;
    const bool same = pattern.front() == u'?' ||
                      (foldCase ? foldAsciiLetter(pattern.front()) == foldAsciiLetter(text.front())
                                : pattern.front() == text.front());
    return same && referenceMatch(pattern.substr(1), text.substr(1), foldCase);
}

inline bool onlyStarsAndLiterals(std::u16string_view pattern, std::u16string_view specials)
{
    return pattern.find_first_of(specials) == std::u16string_view::npos;
}

inline bool shortEnough(std::u16string_view pattern, std::u16string_view text)
{
    size_t stars = 0;
    for (const char16_t c : pattern)
        stars += c == u'*';
    return stars <= 6 && text.size() <= 24;
}

// Each unit of text behind a backquote: the pattern of exactly that text.
inline std::u16string escaped(std::u16string_view text)
{
    std::u16string pattern;
    for (const char16_t c : text) {
        pattern += u'`';
        pattern += c;
    }
    return pattern;
}

inline std::string checkBlockMask(std::u16string_view name, std::u16string_view masks)
{
    bool matched = false;
    try {
        matched = grid::MatchesAnyMask(name, masks);
    } catch (const grid::MaskError&) {
        return {};
    }
    if (onlyStarsAndLiterals(masks, u"[,") && shortEnough(masks, name) && matched != referenceMatch(masks, name, true))
        return "block mask \"" + printable(masks) + "\" on \"" + printable(name) + "\" gives " +
               (matched ? "a match" : "no match");
    // Every mask was read when none matched, so adding the name itself as one more must match.
    if (onlyStarsAndLiterals(name, u"*?[,") &&
        !grid::MatchesAnyMask(name, std::u16string(masks) + u"," + std::u16string(name)))
        return "the name itself as the last mask after \"" + printable(masks) + "\" does not match \"" +
               printable(name) + "\"";
    return {};
}

inline std::string checkSelectionPattern(std::u16string_view pattern, std::u16string_view text)
{
    using kelvocad::LetterCase;
    using kelvocad::WildcardPattern;
    const bool sensitive = WildcardPattern::matches(pattern, text, LetterCase::Sensitive);
    const bool insensitive = WildcardPattern::matches(pattern, text, LetterCase::Insensitive);
    if (onlyStarsAndLiterals(pattern, u"#@.~[`,") && shortEnough(pattern, text) &&
        sensitive != referenceMatch(pattern, text, false))
        return "pattern \"" + printable(pattern) + "\" on \"" + printable(text) + "\" gives " +
               (sensitive ? "a match" : "no match");
    if (sensitive && !insensitive && pattern.find(u'~') == std::u16string_view::npos)
        return "pattern \"" + printable(pattern) + "\" matches \"" + printable(text) +
               "\" with letter case but not without";
    const std::u16string exact = escaped(text);
    if (!WildcardPattern::matches(exact, text))
        return "the escaped text \"" + printable(exact) + "\" does not match itself";
    if (WildcardPattern::matches(u"~" + exact, text))
        return "\"~\" before the escaped text \"" + printable(exact) + "\" matches it";
    if (WildcardPattern::matches(exact, std::u16string(text) + u"x"))
        return "the escaped text \"" + printable(exact) + "\" matches a longer text";
    // An open "[" or a trailing "`" would take the comma in; otherwise it separates.
    if (onlyStarsAndLiterals(pattern, u"[`") && !WildcardPattern::matches(std::u16string(pattern) + u"," + exact, text))
        return "an alternative that matches is ignored after \"" + printable(pattern) + "\"";
    return {};
}

// One fuzzer input: the pattern (also read as a list of block masks) and the text.
inline std::string checkWildcardInput(std::string_view bytes)
{
    InputReader input(bytes);
    const std::u16string pattern = input.field();
    const std::u16string text = input.field();
    std::string fault = checkBlockMask(text, pattern);
    if (fault.empty())
        fault = checkSelectionPattern(pattern, text);
    return fault;
}

}  // namespace fuzzing
