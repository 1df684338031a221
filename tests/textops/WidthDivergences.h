#pragma once

// The whole-text width conversions ("すべて全角に", "選択範囲を半角に", the grid's N32/N33) use
// LCMapStringW on Windows and ICU's width transliterators elsewhere. On ordinary drawing text
// the two agree: the shared table of zenHanUtilTest runs on both. These are the characters
// where they part, with what each side gives: the Windows column as Wine 8 maps it, checked
// by the Windows suite, the ICU column checked by the Linux suite. The program keeps each
// platform's own mapping: a Windows user gets what Windows does.
#include <string>

namespace textops::test {

struct WidthDivergence {
    const char* what;
    bool toFull;
    std::u16string input;
    std::u16string windows;
    std::u16string icu;
};

inline const WidthDivergence kWidthDivergences[] = {
    {"lone sound marks become combining marks", true, u"ﾞｱﾞｶﾞﾞﾟ",
     u"\u3099ア\u3099ガ\u3099\u309A", u"゛ア゛ガ゛゜"},
    {"backslash has no full-width form", true, u"\\", u"\\", u"＼"},
    {"signs with half-width forms are narrowed", false, u"○■←│", u"\uFFEE\uFFED\uFFE9\uFFE8", u"○■←│"},
    {"full-width reverse solidus stays", false, u"＼", u"＼", u"\\"},
    {"Hangul letters are narrowed", false, u"ㄱ", u"\uFFA1", u"ㄱ"},
};

}  // namespace textops::test
