#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvocad {

enum class LetterCase { Sensitive, Insensitive };

// A CAD wildcard pattern as selection filters use it:
//   *  any run of characters (also none)      ?  any one character
//   #  one digit          @  one letter        .  one character that is neither
//   [abc] [a-z] one of   [~abc] one not of    `x  x literally
//   ~  at the start of an alternative: anything the rest does not match
//   ,  separates alternatives; the pattern matches when any alternative does.
// A "[" without its "]" stands for itself, so no text the user types makes a pattern
// invalid.
class WildcardPattern {
public:
    explicit WildcardPattern(std::u16string_view pattern, LetterCase letterCase = LetterCase::Sensitive);

    bool matches(std::u16string_view text) const;

    static bool matches(std::u16string_view pattern, std::u16string_view text,
                        LetterCase letterCase = LetterCase::Sensitive)
    {
        return WildcardPattern(pattern, letterCase).matches(text);
    }

private:
    enum class Kind { Literal, AnyRun, AnyOne, Digit, Letter, NonAlphanumeric, Set };
    struct Range {
        char16_t first;
        char16_t last;
    };
    struct Token {
        Kind kind = Kind::Literal;
        char16_t ch = 0;
        bool negated = false;
        std::vector<Range> ranges;
    };
    struct Alternative {
        bool negated = false;
        std::vector<Token> tokens;
    };

    static Alternative parseAlternative(std::u16string_view text);
    // The position of the "]" that closes the set opened at `open`, or npos.
    static size_t findSetEnd(std::u16string_view text, size_t open, bool& negated, size_t& firstMember);
    bool matchTokens(const std::vector<Token>& tokens, std::u16string_view text) const;
    bool tokenMatches(const Token& token, char16_t c) const;
    char16_t fold(char16_t c) const;

    LetterCase letterCase_;
    std::vector<Alternative> alternatives_;
};

}  // namespace kelvocad
