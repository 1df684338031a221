#include "textops/WidthDivergences.h"
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

// What the program gives on Windows, where its mapping parts from ICU's (the table says why).
TEST(WidthMappingWindows, WhereLcMapStringDiffersFromIcu)
{
    for (const textops::test::WidthDivergence& d : textops::test::kWidthDivergences) {
        SCOPED_TRACE(d.what);
        std::u16string text = d.input;
        if (d.toFull)
            textops::ToZenAll(text);
        else
            textops::ToHanAll(text);
        EXPECT_EQ(text, d.windows) << codes(text);
        EXPECT_NE(text, d.icu) << "the Windows program maps this as ICU does";
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
