#include "textops/zenHanUtil.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string codes(const std::u16string& text)
{
    std::string out;
    for (const char16_t c : text) {
        char buffer[8];
        snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(c));
        out += buffer;
    }
    return out;
}

// The whole-text conversions ("すべて全角に", "選択範囲を半角に", the grid's N32/N33) use
// LCMapStringW on Windows and ICU's width transliterators elsewhere. On ordinary drawing text
// the two agree: the shared table of tests/textops runs on both. These are the characters
// where they part, with the Windows side as Wine 8 maps it; the ICU side is checked by the
// Linux suite. The program keeps each platform's own mapping: a Windows user gets what
// Windows does.
struct Divergence {
    const char* what;
    bool toFull;
    std::u16string input;
    std::u16string windows;
    std::u16string icu;  // for the record
};

const Divergence kDivergences[] = {
    {"lone sound marks become combining marks", true, u"ﾞｱﾞｶﾞﾞﾟ",
     u"\u3099ア\u3099ガ\u3099\u309A", u"゛ア゛ガ゛゜"},
    {"backslash has no full-width form", true, u"\\", u"\\", u"＼"},
    {"signs with half-width forms are narrowed", false, u"○■←│", u"\uFFEE\uFFED\uFFE9\uFFE8", u"○■←│"},
    {"full-width reverse solidus stays", false, u"＼", u"＼", u"\\"},
    {"Hangul letters are narrowed", false, u"ㄱ", u"\uFFA1", u"ㄱ"},
};

TEST(WidthMappingWindows, WhereLcMapStringDiffersFromIcu)
{
    for (const Divergence& d : kDivergences) {
        SCOPED_TRACE(d.what);
        std::u16string text = d.input;
        if (d.toFull)
            textops::ToZenAll(text);
        else
            textops::ToHanAll(text);
        EXPECT_EQ(text, d.windows) << codes(text);
        EXPECT_NE(d.windows, d.icu);
    }
}

// The routine sizes its result from LCMapStringW's own count, so a text whose length changes
// (voiced kana split in two, or joined) comes back whole, and long texts are not cut.
TEST(WidthMappingWindows, ResultLengthFollowsTheMapping)
{
    std::u16string longFull;
    std::u16string longHalf;
    for (int i = 0; i < 5000; ++i) {
        longFull += u"ガ";
        longHalf += u"ｶﾞ";
    }
    std::u16string text = longFull;
    textops::ToHanAll(text);
    EXPECT_EQ(text, longHalf);
    textops::ToZenAll(text);
    EXPECT_EQ(text, longFull);

    const struct {
        std::u16string full, half;
    } cases[] = {
        {u"パ", u"ﾊﾟ"}, {u"ヴァ", u"ｳﾞｧ"}, {u"Ａ１　", u"A1 "}, {u"￥", u"\u00A5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(codes(c.full));
        std::u16string half = c.full;
        textops::ToHanAll(half);
        EXPECT_EQ(half, c.half) << codes(half);
        std::u16string full = c.half;
        textops::ToZenAll(full);
        EXPECT_EQ(full, c.full) << codes(full);
    }
}

}  // namespace
